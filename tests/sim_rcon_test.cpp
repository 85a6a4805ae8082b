// kestrova-sim serving RCON, run as a program and reached over loopback: with
// Debian's stock client, rconclt, and with a bare client for what rconclt cannot say.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/options.h"
#include "app/rcon_service.h"
#include "client/rcon_client.h"
#include "support/child_process.h"
#include "support/server_dir.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using sim::rcon::Packet;
using tools::RconClient;

const std::regex kListening(R"(rcon: +listening on 127\.0\.0\.1:([0-9]+))");

constexpr char kSuccess[] = "Success! Sent to the command processor.";

// Debian's rconclt is a Linux program; CI drives the Windows kestrova-sim.exe with
// it from Linux instead (scripts/test-windows).
#ifdef _WIN32
#define SKIP_WITHOUT_STOCK_CLIENT() GTEST_SKIP() << "rconclt runs on Linux only; scripts/test-windows uses it"
#else
#define SKIP_WITHOUT_STOCK_CLIENT() static_cast<void>(0)
#endif

class SimRcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_ = Start({"--serve", "--rcon-port", "0", "--rcon-auth-timeout-ms", "300"});
        const std::optional<std::string> port = sim_->WaitForOutput(kListening);
        ASSERT_TRUE(port) << sim_->Output();
        port_ = static_cast<std::uint16_t>(std::stoi(*port));
    }

    void TearDown() override
    {
        sim_->WriteInput("/quit\n");
        EXPECT_EQ(sim_->Wait(), 0) << sim_->Output();
    }

    std::unique_ptr<ChildProcess> Start(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--server-dir", server_.Root().string()});
        return std::make_unique<ChildProcess>(KESTROVA_SIM_PATH, args);
    }

    // rconclt with `password` and the command words; its status and output.
    ProgramRun Rconclt(const std::string& password, const std::vector<std::string>& words)
    {
        const std::optional<std::string> rconclt = FindProgram("rconclt");
        if (!rconclt)
            return {std::nullopt, "rconclt is not installed (scripts/setup.sh installs Debian's rcon)"};
        std::vector<std::string> args = {"-t", "5", password + "@127.0.0.1:" + std::to_string(port_)};
        args.insert(args.end(), words.begin(), words.end());
        return RunProgram(*rconclt, args);
    }

    // Waits until the console shows `text`.
    bool ConsoleShows(const std::string& text)
    {
        return sim_->WaitForOutput(std::regex(std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)")))
            .has_value();
    }

    RconClient Connect()
    {
        RconClient client;
        EXPECT_TRUE(client.Connect("127.0.0.1", port_));
        return client;
    }

    RconClient Authenticated()
    {
        RconClient client = Connect();
        EXPECT_TRUE(client.Authenticate(sim::kDefaultRconPassword));
        return client;
    }

    TempServerDir server_;
    std::unique_ptr<ChildProcess> sim_;
    std::uint16_t port_ = 0;
};

TEST_F(SimRcon, StockClientReloadsWithThePrintedPassword)
{
    SKIP_WITHOUT_STOCK_CLIENT();
    const ProgramRun run = Rconclt(sim::kDefaultRconPassword, {"Kestrova.Reload"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "Reloaded Config!\n");
    EXPECT_TRUE(ConsoleShows("[rcon 127.0.0.1] Kestrova.Reload -> Reloaded Config!\n")) << sim_->Output();
}

TEST_F(SimRcon, StockClientWithAWrongPasswordIsTurnedAway)
{
    SKIP_WITHOUT_STOCK_CLIENT();
    const ProgramRun run = Rconclt("not-the-password", {"Kestrova.Reload"});
    EXPECT_EQ(run.status, 5) << run.output;
    EXPECT_THAT(run.output, HasSubstr("Wrong password."));
    EXPECT_TRUE(ConsoleShows("RCON client 127.0.0.1 gave a wrong password; closed")) << sim_->Output();
    EXPECT_THAT(sim_->Output(), ::testing::Not(HasSubstr("-> Reloaded Config!")));
}

TEST_F(SimRcon, StockClientTargetedSpawnsAnswerAsThePluginSays)
{
    SKIP_WITHOUT_STOCK_CLIENT();
    const std::string raptor = "Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'";
    ProgramRun run =
        Rconclt(sim::kDefaultRconPassword, {"KV.SpawnDinoFor", "1002", raptor, "\"\"", "0", "10", "0", "0", "0", "0", "0"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, std::string(kSuccess) + "\n");
    sim_->WriteInput("/inventory 1002\n");
    EXPECT_TRUE(sim_->WaitForOutput(std::regex(R"(Bob \(1002\): 1 of [0-9]+ slots\n.*\n +holds Raptor_Character_BP_C +level 10)")))
        << "the cryopod is in Bob's inventory, not the issuer's:\n"
        << sim_->Output();

    run = Rconclt(sim::kDefaultRconPassword, {"KV.SpawnDinoFor", "9999", "a", "b", "0", "1"});
    EXPECT_EQ(run.output, "Failed to give!\n");
    EXPECT_TRUE(ConsoleShows("[rcon 127.0.0.1] KV.SpawnDinoFor 9999 a b 0 1 -> Failed to give!\n")) << sim_->Output();

    run = Rconclt(sim::kDefaultRconPassword, {"KV.SpawnDino", "a", "b", "0", "1"});
    EXPECT_EQ(run.output, "Unknown command: KV.SpawnDino\n") << "KV.SpawnDino is a console command only";
}

TEST_F(SimRcon, ConsoleLinesAndRconRequestsShareOneGame)
{
    sim_->WriteInput("Kestrova.Reload\n");
    EXPECT_TRUE(ConsoleShows("[to Alice (green)] Reloaded Config!\n")) << sim_->Output();
    RconClient client = Authenticated();
    EXPECT_EQ(client.Command("Kestrova.Reload", 5), "Reloaded Config!");
    sim_->WriteInput("/as 1002\nKestrova.Reload\n");
    EXPECT_TRUE(ConsoleShows("[to Bob (green)] Reloaded Config!\n")) << sim_->Output();
}

TEST_F(SimRcon, TooFewWordsGetNoReplyAtAll)
{
    RconClient client = Authenticated();
    client.Send({7, sim::rcon::kExecCommand, "KV.SpawnDinoFor 1002 a b 0"});
    client.Send({8, sim::rcon::kExecCommand, ""});  // a probe: answered once, after request 7
    EXPECT_EQ(client.Next(), (Packet{8, sim::rcon::kResponseValue, ""}));
    EXPECT_TRUE(ConsoleShows("[rcon 127.0.0.1] KV.SpawnDinoFor 1002 a b 0 -> (no reply)\n")) << sim_->Output();
}

TEST_F(SimRcon, RequestSplitAcrossWrites)
{
    RconClient client = Connect();
    const std::string bytes = sim::rcon::EncodePacket({1, sim::rcon::kAuth, sim::kDefaultRconPassword}) +
                              sim::rcon::EncodePacket({2, sim::rcon::kExecCommand, "Kestrova.Reload"});
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        client.Write(std::string_view(bytes).substr(at, 3));
        std::this_thread::sleep_for(1ms);  // separate writes; the test does not depend on it
    }
    EXPECT_EQ(client.Next(), (Packet{1, sim::rcon::kAuthResponse, ""}));
    EXPECT_EQ(client.Next(), (Packet{2, sim::rcon::kResponseValue, "Reloaded Config!"}));
}

TEST_F(SimRcon, TwoRequestsInOneWriteAreAnsweredInOrder)
{
    RconClient client = Authenticated();
    client.Write(sim::rcon::EncodePacket({11, sim::rcon::kExecCommand, "KV.SpawnItemFor 9999 a b 0 0 1"}) +
                     sim::rcon::EncodePacket({12, sim::rcon::kExecCommand, "Kestrova.Reload"}));
    EXPECT_EQ(client.Next(), (Packet{11, sim::rcon::kResponseValue, "Failed to give!"}));
    EXPECT_EQ(client.Next(), (Packet{12, sim::rcon::kResponseValue, "Reloaded Config!"}));
}

TEST_F(SimRcon, OversizedPacketClosesThatConnectionOnly)
{
    RconClient other = Authenticated();
    RconClient client = Authenticated();
    client.Write(std::string("\x01\x10\x00\x00", 4));  // 4,097: one more than a packet may hold
    EXPECT_TRUE(client.ClosedByServer());
    EXPECT_EQ(other.Command("Kestrova.Reload", 3), "Reloaded Config!");
}

TEST_F(SimRcon, ClientThatSendsNothingIsClosed)
{
    RconClient client = Connect();
    EXPECT_TRUE(client.ClosedByServer());
    EXPECT_TRUE(ConsoleShows("RCON client 127.0.0.1 did not authenticate in time; closed")) << sim_->Output();
}

TEST_F(SimRcon, StopSignalEndsTheRunCleanly)
{
    if (!TerminateAsksToStop())
        GTEST_SKIP() << "Wine cannot send Ctrl+Break to another process; sim_session_input_test.cpp calls the handler";
    sim_->Terminate();
    EXPECT_EQ(sim_->Wait(), 0) << sim_->Output();
    EXPECT_THAT(sim_->Output(), HasSubstr("Stopping ("));
}

TEST_F(SimRcon, PortInUseLeavesTheConsoleRunning)
{
    const std::string port = std::to_string(port_);
    auto second = Start({"--rcon-port", port});
    second->WriteInput("Kestrova.Reload\n");
    second->CloseInput();
    EXPECT_EQ(second->Wait(), 0) << second->Output();
    second->WaitForEndOfOutput();  // the last output may still be in the pipe
    EXPECT_THAT(second->Output(), HasSubstr("RCON is off: cannot listen on 127.0.0.1:" + port + ": Address already in use"));
    EXPECT_THAT(second->Output(), HasSubstr("[to Alice (green)] Reloaded Config!\n"));

    auto serving = Start({"--rcon-port", port, "--serve"});
    EXPECT_EQ(serving->Wait(), 1) << "--serve with nothing to serve fails";
    serving->WaitForEndOfOutput();
    EXPECT_THAT(serving->Output(), HasSubstr("--serve needs RCON"));
}

TEST(SimRconOptions, FlagsAndTheirValues)
{
    const sim::Options defaults = sim::ParseOptions({}, "s", "p");
    EXPECT_TRUE(defaults.rcon.enabled);
    EXPECT_EQ(defaults.rcon.bindAddress, "127.0.0.1");
    EXPECT_EQ(defaults.rcon.port, 27020);
    EXPECT_FALSE(defaults.rcon.password);
    EXPECT_FALSE(defaults.serve);

    const sim::Options given = sim::ParseOptions(
        {"--rcon-port=0", "--rcon-password", "", "--rcon-bind", "::1", "--serve", "--rcon-auth-timeout-ms", "250",
         "--rcon-lockout-failures", "3", "--rcon-lockout-window-ms=1500"},
        "s", "p");
    EXPECT_EQ(given.rcon.port, 0);
    EXPECT_EQ(given.rcon.password, "");
    EXPECT_EQ(given.rcon.bindAddress, "::1");
    EXPECT_TRUE(given.serve);
    EXPECT_EQ(given.rcon.authTimeout, 250ms);
    EXPECT_EQ(given.rcon.lockoutFailures, 3u);
    EXPECT_EQ(given.rcon.lockoutWindow, 1500ms);
    EXPECT_EQ(defaults.rcon.lockoutFailures, 5u);
    EXPECT_EQ(defaults.rcon.lockoutWindow, 60s);
    EXPECT_FALSE(sim::ParseOptions({"--no-rcon"}, "s", "p").rcon.enabled);

    EXPECT_THROW(sim::ParseOptions({"--rcon-port", "65536"}, "s", "p"), sim::UsageError);
    EXPECT_THROW(sim::ParseOptions({"--rcon-port", "12ab"}, "s", "p"), sim::UsageError);
    EXPECT_THROW(sim::ParseOptions({"--serve=yes"}, "s", "p"), sim::UsageError);
    EXPECT_THROW(sim::ParseOptions({"--rcon-lockout-failures", "0"}, "s", "p"), sim::UsageError);
    EXPECT_EQ(defaults.rcon.dropReply, 0u);
    EXPECT_EQ(sim::ParseOptions({"--rcon-drop-reply", "3"}, "s", "p").rcon.dropReply, 3u);
    EXPECT_THROW(sim::ParseOptions({"--rcon-drop-reply", "0"}, "s", "p"), sim::UsageError);
}

TEST(SimRconDropReply, TheChosenRequestRunsButItsConnectionClosesUnanswered)
{
    TempServerDir dir;
    SimServer server(dir, {"--rcon-drop-reply", "2"});
    ASSERT_NE(server.Port(), 0) << server.Process().Output();
    RconClient client = server.Client();
    ASSERT_TRUE(client.Authenticate(sim::kDefaultRconPassword));
    EXPECT_EQ(client.Command("Kestrova.Reload", 5), "Reloaded Config!");
    EXPECT_EQ(client.Command("Kestrova.Reload", 6), std::nullopt);
    EXPECT_TRUE(client.ClosedByServer());
    ASSERT_TRUE(server.Process().WaitForOutput(std::regex(R"((reply dropped and connection closed))")));
    EXPECT_THAT(server.Process().Output(), HasSubstr("-> Reloaded Config!\n[rcon] reply dropped"))
        << "the dropped request ran";

    RconClient retry = server.Client();
    ASSERT_TRUE(retry.Authenticate(sim::kDefaultRconPassword));
    EXPECT_EQ(retry.Command("Kestrova.Reload", 7), "Reloaded Config!") << "only that one reply is dropped";
    EXPECT_EQ(server.Quit(), 0) << server.Process().Output();
}

TEST(SimRconOptions, DefaultPasswordOnlyForThisMachine)
{
    std::string password, error;
    sim::RconOptions options;
    EXPECT_TRUE(sim::ChooseRconPassword(options, password, error));
    EXPECT_EQ(password, sim::kDefaultRconPassword);

    options.bindAddress = "0.0.0.0";
    EXPECT_FALSE(sim::ChooseRconPassword(options, password, error));
    EXPECT_THAT(error, HasSubstr("give --rcon-password"));
    options.password = "s3cret";
    EXPECT_TRUE(sim::ChooseRconPassword(options, password, error));
    EXPECT_EQ(password, "s3cret");
}

}  // namespace
}  // namespace kestrova::test
