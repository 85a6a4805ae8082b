// kestrova-sim as integrators meet it: stock RCON clients (Debian's rconclt and
// python3-rcon, npm's rcon-srcds and rcon-client, as scripts/setup.sh installs them)
// run the ordinary checks, including a login right after a mistyped password. A
// client that is not installed is skipped.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/options.h"
#include "support/child_process.h"
#include "support/server_dir.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

const std::regex kListening(R"(rcon: +listening on 127\.0\.0\.1:([0-9]+))");
const std::string kStone = "Blueprint'/Game/Items/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone'";

struct Invocation {
    std::string program;
    std::vector<std::string> args;
};

class StockClient : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
#ifdef _WIN32
        // Under Wine their Linux paths even resolve, but a Windows program cannot run them.
        if (GetParam() == "rconclt" || GetParam() == "python3-rcon")
            GTEST_SKIP() << "Debian's " << GetParam()
                         << " runs on Linux only; scripts/test-windows drives kestrova-sim.exe with rconclt from Linux";
#endif
        if (!Find(sim::kDefaultRconPassword, {"Kestrova.Reload"}))
            GTEST_SKIP() << GetParam() << " is not installed (scripts/setup.sh installs it)";
        sim_ = std::make_unique<ChildProcess>(
            KESTROVA_SIM_PATH, std::vector<std::string>{"--server-dir", server_.Root().string(), "--serve",
                                                        "--rcon-port", "0"});
        const std::optional<std::string> port = sim_->WaitForOutput(kListening);
        ASSERT_TRUE(port) << sim_->Output();
        port_ = *port;
    }

    void TearDown() override
    {
        if (!sim_)
            return;
        sim_->WriteInput("/quit\n");
        EXPECT_EQ(sim_->Wait(), 0) << sim_->Output();
    }

    // How this client runs one command; nothing when it is not installed.
    std::optional<Invocation> Find(const std::string& password, const std::vector<std::string>& words) const
    {
        std::string line;
        for (const std::string& word : words)
            line += (line.empty() ? "" : " ") + word;
        const std::string& client = GetParam();
        if (client == "rconclt") {
            const auto rconclt = FindProgram("rconclt");
            if (!rconclt)
                return std::nullopt;
            Invocation run{*rconclt, {"-t", "5", password + "@127.0.0.1:" + port_}};
            run.args.insert(run.args.end(), words.begin(), words.end());
            return run;
        }
        if (client == "python3-rcon") {
            // Debian's own interpreter, where Debian's package is.
            if (!std::filesystem::exists("/usr/lib/python3/dist-packages/rcon/source") ||
                !std::filesystem::exists("/usr/bin/python3"))
                return std::nullopt;
            return Invocation{"/usr/bin/python3", {Script("rcon_python.py"), "127.0.0.1", port_, password, line}};
        }
        const std::filesystem::path modules = std::filesystem::path(KESTROVA_SOURCE_DIR) / ".cache" / "rcon-clients" /
                                              "node_modules";
        const auto node = FindProgram("node");
        if (!node || !std::filesystem::exists(modules / client))
            return std::nullopt;
        return Invocation{*node, {Script("rcon_node.js"), modules.string(), client, "127.0.0.1", port_, password, line}};
    }

    static std::string Script(const std::string& name)
    {
        return (std::filesystem::path(KESTROVA_SOURCE_DIR) / "tests" / "stock_clients" / name).string();
    }

    ProgramRun Run(const std::string& password, const std::vector<std::string>& words)
    {
        const std::optional<Invocation> run = Find(password, words);
        return RunProgram(run->program, run->args);
    }

    TempServerDir server_;
    std::unique_ptr<ChildProcess> sim_;
    std::string port_ = "0";
};

TEST_P(StockClient, PassesTheOrdinaryChecks)
{
    const std::string password = sim::kDefaultRconPassword;
    ProgramRun run = Run(password, {"Kestrova.Reload"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "Reloaded Config!\n");

    run = Run(password, {"KV.SpawnItemFor", "1002", kStone, "x", "0", "0", "1"});
    EXPECT_EQ(run.output, "Success! Sent to the command processor.\n");

    run = Run(password, {"KV.SpawnItemFor", "9999", kStone, "x", "0", "0", "1"});
    EXPECT_EQ(run.output, "Failed to give!\n");

    run = Run("mistyped", {"Kestrova.Reload"});
    EXPECT_EQ(run.status, 5) << run.output;
    EXPECT_THAT(run.output, ::testing::AnyOf("refused\n", ::testing::HasSubstr("Wrong password.")));

    run = Run(password, {"Kestrova.Reload"});
    EXPECT_EQ(run.output, "Reloaded Config!\n") << "right after one wrong password";
}

INSTANTIATE_TEST_SUITE_P(Sim, StockClient, ::testing::Values("rconclt", "python3-rcon", "rcon-srcds", "rcon-client"),
                         [](const auto& test) {
                             std::string name = test.param;
                             std::erase(name, '-');
                             return name;
                         });

}  // namespace
}  // namespace kestrova::test
