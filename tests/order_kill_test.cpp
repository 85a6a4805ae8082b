// KV.Order across a server that dies: kestrova-sim is killed hard (--kill-at) at
// each point between taking an order and answering it, started again on the same
// folder, and the order retried with the same id. Over both processes the player
// gets what the final answer says and never more: one creature for "delivered",
// and for "interrupted" whatever the first process had made, at most one. An
// interrupted order settled by a person is delivered exactly once, across a kill
// at each point too. And on a full disk an order is refused, not run.
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/options.h"
#include "support/catalogue_references.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

const std::string kRaptorWord = kRaptor;
const std::string kOrder = "KV.Order shop-4711 KV.SpawnDinoFor 1002 " + kRaptorWord + " \"\" 0 150 0 0 0 0 0 F";
constexpr int kKilledStatus = 137;  // 128 + SIGKILL; the Windows stand-in terminates itself with it too

// The reply to `line` over RCON; nothing when the connection closed first.
std::optional<nlohmann::json> Ask(SimServer& server, const std::string& line)
{
    tools::RconClient client = server.Client();
    if (!client.Authenticate(sim::kDefaultRconPassword))
        return std::nullopt;
    const std::optional<std::string> reply = client.Command(line, 7);
    if (!reply)
        return std::nullopt;
    return nlohmann::json::parse(*reply);
}

std::optional<nlohmann::json> Order(SimServer& server) { return Ask(server, kOrder); }

struct KillPoint {
    const char* name;
    const char* at;
    int madeBeforeKill;   // creatures the killed process had delivered
    bool answerIsRepeat;  // the retry's "repeat"
    const char* answer;   // the retry's outcome "result"
};

void PrintTo(const KillPoint& point, std::ostream* out) { *out << point.at; }

class OrderKill : public ::testing::TestWithParam<KillPoint> {};

TEST_P(OrderKill, RetryAfterRestartNeitherDoublesNorSilentlyLosesTheDelivery)
{
    const KillPoint& point = GetParam();
    TempServerDir dir(R"({"DeliveryLedger": "deliveries.jsonl"})");
    {
        SimServer first(dir, {"--journal", "off", "--kill-at", point.at});
        ASSERT_NE(first.Port(), 0) << first.Process().Output();
        ASSERT_TRUE(first.WaitForLedgerReadBack()) << first.Process().Output();
        EXPECT_FALSE(Order(first)) << "the first process must die before it answers";
        EXPECT_EQ(first.Process().Wait(), kKilledStatus) << first.Process().Output();
        first.Process().WaitForEndOfOutput();
        EXPECT_NE(first.Process().Output().find("killed as the plugin reached"), std::string::npos)
            << first.Process().Output();
    }

    SimServer second(dir, {});
    ASSERT_NE(second.Port(), 0) << second.Process().Output();
    ASSERT_TRUE(second.WaitForLedgerReadBack()) << second.Process().Output();
    const std::optional<nlohmann::json> reply = Order(second);
    ASSERT_TRUE(reply) << second.Process().Output();
    EXPECT_EQ(reply->value("order", ""), "shop-4711");
    EXPECT_EQ(reply->value("repeat", !point.answerIsRepeat), point.answerIsRepeat) << reply->dump();
    ASSERT_TRUE(reply->contains("outcome")) << reply->dump();
    const std::string answer = (*reply)["outcome"].value("result", "");
    EXPECT_EQ(answer, point.answer) << reply->dump();

    const std::optional<nlohmann::json> again = Order(second);
    ASSERT_TRUE(again) << second.Process().Output();
    EXPECT_TRUE(again->value("repeat", false)) << again->dump();
    EXPECT_EQ(again->value("outcome", nlohmann::json()), (*reply)["outcome"]) << "a further retry answers the same";

    const std::optional<int> madeAfterRestart = second.SlotsFilledBy("1002");
    ASSERT_TRUE(madeAfterRestart) << second.Process().Output();
    const int delivered = point.madeBeforeKill + *madeAfterRestart;
    if (answer == "delivered")
        EXPECT_EQ(delivered, 1) << "a delivered order gives exactly one creature";
    else
        EXPECT_EQ(delivered, point.madeBeforeKill) << "an interrupted order is never run again";
    EXPECT_EQ(second.Quit(), 0) << second.Process().Output();
}

// A disk that is full: the ledger file is /dev/full, whose every write fails with
// ENOSPC, from the first order on (the plugin opens the file at its first write).
// The order is refused before it runs, and a retry once there is room delivers it once.
TEST(OrderDiskFull, AnOrderThatCannotBeRecordedIsRefusedNotRunAndRunsOnRetry)
{
#ifdef _WIN32
    GTEST_SKIP() << "/dev/full is a POSIX device";
#else
    TempServerDir dir(R"({"DeliveryLedger": "deliveries.jsonl"})");
    SimServer server(dir, {});
    ASSERT_NE(server.Port(), 0) << server.Process().Output();
    ASSERT_TRUE(server.WaitForLedgerReadBack()) << server.Process().Output();
    const std::filesystem::path ledger = dir.ConfigPath().parent_path() / "deliveries.jsonl";
    std::filesystem::create_symlink("/dev/full", ledger);

    const std::optional<nlohmann::json> refused = Order(server);
    ASSERT_TRUE(refused) << server.Process().Output();
    EXPECT_FALSE(refused->contains("outcome")) << refused->dump();
    EXPECT_THAT(refused->value("error", ""), ::testing::HasSubstr("so it was not run")) << refused->dump();

    std::filesystem::remove(ledger);
    const std::optional<nlohmann::json> retried = Order(server);
    ASSERT_TRUE(retried) << server.Process().Output();
    EXPECT_FALSE(retried->value("repeat", true)) << retried->dump();
    EXPECT_EQ((*retried)["outcome"].value("result", ""), "delivered") << retried->dump();
    EXPECT_EQ(server.SlotsFilledBy("1002"), 1) << "the refused order made nothing";
    EXPECT_EQ(server.Quit(), 0) << server.Process().Output();
#endif
}

// A person settles an interrupted order as not delivered and the shop retries it,
// with the server killed at each point of the settlement and of the run it lets
// happen. Whatever the point, the person and the shop, doing what the answers
// tell them, get the player exactly one creature.
struct SettleKillPoint {
    const char* name;
    const char* at;
    bool whileSettling;  // killed during the settlement (sent over RCON), not the run after it
    int madeBeforeKill;
};

void PrintTo(const SettleKillPoint& point, std::ostream* out) { *out << point.at; }

class SettleKill : public ::testing::TestWithParam<SettleKillPoint> {};

TEST_P(SettleKill, ASettledOrderIsDeliveredExactlyOnce)
{
    const SettleKillPoint& point = GetParam();
    TempServerDir dir(R"({"DeliveryLedger": "deliveries.jsonl"})");
    // An earlier server died between the order's start and its spawn.
    const nlohmann::json started = {{"event", "started"}, {"from", {{"rcon", nullptr}}}, {"line", kOrder},
                                    {"order", "shop-4711"}, {"time", "2026-12-08T16:20:01.123Z"}, {"v", 1}};
    std::ofstream(dir.ConfigPath().parent_path() / "deliveries.jsonl") << started.dump() << '\n';
    const std::string settle = "KV.OrderSettle shop-4711 not-delivered the inventory holds none";
    {
        SimServer first(dir, {"--journal", "off", "--kill-at", point.at});
        ASSERT_NE(first.Port(), 0) << first.Process().Output();
        ASSERT_TRUE(first.WaitForLedgerReadBack()) << first.Process().Output();
        if (point.whileSettling) {
            EXPECT_FALSE(Ask(first, settle)) << "the first process must die before it answers";
        } else {
            // On the console, whose replies pass no point of the run's.
            first.Process().WriteInput(settle + "\n");
            ASSERT_TRUE(first.Process().WaitForOutput(std::regex("\"decision\":\"not-delivered\"")))
                << first.Process().Output();
            EXPECT_FALSE(Order(first)) << "the first process must die before it answers";
        }
        EXPECT_EQ(first.Process().Wait(), kKilledStatus) << first.Process().Output();
    }

    SimServer second(dir, {});
    ASSERT_NE(second.Port(), 0) << second.Process().Output();
    ASSERT_TRUE(second.WaitForLedgerReadBack()) << second.Process().Output();
    std::optional<nlohmann::json> answer;
    for (int round = 0; round < 2; ++round) {
        const std::optional<nlohmann::json> status = Ask(second, "KV.OrderStatus shop-4711");
        ASSERT_TRUE(status) << second.Process().Output();
        EXPECT_THAT(status->value("status", ""), ::testing::AnyOf("started", "settled", "outcome")) << status->dump();
        if (status->value("status", "") == "started") {
            // Interrupted: a person looks at the inventory and settles what they find.
            const std::string found = point.madeBeforeKill > 0 ? "delivered" : "not-delivered";
            const std::optional<nlohmann::json> settled = Ask(second, "KV.OrderSettle shop-4711 " + found);
            ASSERT_TRUE(settled && !settled->contains("error")) << (settled ? settled->dump() : "no answer");
        }
        answer = Order(second);
        ASSERT_TRUE(answer) << second.Process().Output();
        if (!answer->contains("error") && (*answer)["outcome"].value("result", "") != "interrupted")
            break;
        if (answer->contains("settlement"))
            break;
    }
    const bool delivered = (*answer)["outcome"].value("result", "") == "delivered" ||
                           (answer->contains("settlement") && (*answer)["settlement"].value("decision", "") == "delivered");
    EXPECT_TRUE(delivered) << answer->dump();
    const std::optional<int> madeAfterRestart = second.SlotsFilledBy("1002");
    ASSERT_TRUE(madeAfterRestart) << second.Process().Output();
    EXPECT_EQ(point.madeBeforeKill + *madeAfterRestart, 1) << answer->dump();
    EXPECT_EQ(second.Quit(), 0) << second.Process().Output();
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SettleKill,
    ::testing::Values(
        SettleKillPoint{"BeforeTheSettledLine", "dispatch:KV.OrderSettle", true, 0},
        SettleKillPoint{"BeforeTheSettlementsReply", "call:RCONClientConnection.SendMessage(int,int,FString&)", true, 0},
        SettleKillPoint{"BeforeTheRunsStartedLine", "dispatch:KV.Order", false, 0},
        SettleKillPoint{"BeforeTheRunsSpawn", "call:AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)",
                        false, 0},
        SettleKillPoint{"BeforeTheRunsOutcomeLine", "return:APrimalDinoCharacter.Destroy(bool,bool)", false, 1},
        SettleKillPoint{"BeforeTheRunsReply", "call:RCONClientConnection.SendMessage(int,int,FString&)", false, 1}),
    [](const auto& test) { return std::string(test.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Sim, OrderKill,
    ::testing::Values(
        KillPoint{"BeforeTheStartedLine", "dispatch:KV.Order", 0, false, "delivered"},
        KillPoint{"BeforeTheSpawn", "call:AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)", 0,
                  true, "interrupted"},
        KillPoint{"BeforeTheOutcomeLine", "return:APrimalDinoCharacter.Destroy(bool,bool)", 1, true, "interrupted"},
        KillPoint{"BeforeTheReply", "call:RCONClientConnection.SendMessage(int,int,FString&)", 1, true, "delivered"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace kestrova::test
