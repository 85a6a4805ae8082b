// The shop examples in examples/shop/ deliver an order against kestrova-sim that
// drops the reply to the first request (--rcon-drop-reply 1), as a network might
// after the server ran it: each retries with the same id and must end with the
// player holding exactly one creature. An example whose client is not installed
// (scripts/setup.sh installs them) is skipped. And each tells an interrupted order
// from one a person settled.
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/options.h"
#include "support/catalogue_references.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

const std::string kRaptorWord = kRaptor;
const std::string kLine = "KV.SpawnDinoFor 1002 " + kRaptorWord + " \"\" 0 150 0 0 0 0 0";

// How to run one example, its arguments to follow; nothing when its client is missing.
std::optional<std::vector<std::string>> Runner(const std::string& example)
{
    const std::string script = (std::filesystem::path(KESTROVA_SOURCE_DIR) / "examples" / "shop" / example).string();
#ifdef _WIN32
    static_cast<void>(script);
    return std::nullopt;  // Debian's python3 and this machine's node are Linux programs
#else
    if (example == "deliver.py") {
        if (!std::filesystem::exists("/usr/lib/python3/dist-packages/rcon/source") ||
            !std::filesystem::exists("/usr/bin/python3"))
            return std::nullopt;
        return std::vector<std::string>{"/usr/bin/python3", script};
    }
    // A shop installs rcon-client beside its program; here it is in .cache/, found through NODE_PATH.
    const std::filesystem::path modules =
        std::filesystem::path(KESTROVA_SOURCE_DIR) / ".cache" / "rcon-clients" / "node_modules";
    const auto node = FindProgram("node");
    const auto env = FindProgram("env");
    if (!node || !env || !std::filesystem::exists(modules / "rcon-client"))
        return std::nullopt;
    return std::vector<std::string>{*env, "NODE_PATH=" + modules.string(), *node, script};
#endif
}

class ShopExample : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        runner_ = Runner(GetParam());
        if (!runner_)
            GTEST_SKIP() << "the client " << GetParam() << " needs is not installed (scripts/setup.sh installs it)";
    }

    // The example delivering kLine as order `id` through `server`, run to its end.
    ProgramRun Deliver(const SimServer& server, const std::string& id)
    {
        std::vector<std::string> args(runner_->begin() + 1, runner_->end());
        args.insert(args.end(), {"127.0.0.1", std::to_string(server.Port()), sim::kDefaultRconPassword, id, kLine});
        return RunProgram(runner_->front(), args, std::chrono::seconds(60));
    }

    std::optional<std::vector<std::string>> runner_;
};

TEST_P(ShopExample, RetriesADroppedReplyAndDeliversExactlyOnce)
{
    TempServerDir dir(R"({"DeliveryLedger": "deliveries.jsonl"})");
    SimServer server(dir, {"--rcon-drop-reply", "1"});
    ASSERT_NE(server.Port(), 0) << server.Process().Output();
    ASSERT_TRUE(server.WaitForLedgerReadBack()) << server.Process().Output();

    const ProgramRun run = Deliver(server, "shop-4711");

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, ::testing::HasSubstr("no answer; asking again with the same id"));
    EXPECT_THAT(run.output, ::testing::HasSubstr(R"("repeat":true)"));
    EXPECT_THAT(run.output, ::testing::HasSubstr(R"("result":"delivered")"));
    EXPECT_EQ(server.SlotsFilledBy("1002"), 1) << server.Process().Output();
    EXPECT_EQ(server.Quit(), 0) << server.Process().Output();
}

// An order the server was interrupted on asks for a person (3); once a person has
// settled it as delivered, the same request ends as delivered (0) and runs nothing.
TEST_P(ShopExample, AnInterruptedOrderAsksForAPersonUntilSettled)
{
    TempServerDir dir(R"({"DeliveryLedger": "deliveries.jsonl"})");
    std::ofstream(dir.ConfigPath().parent_path() / "deliveries.jsonl")
        << R"({"event":"started","from":{"rcon":null},"line":"...","order":"shop-9","time":"2026-12-08T16:20:01.123Z","v":1})"
        << '\n';
    SimServer server(dir, {});
    ASSERT_NE(server.Port(), 0) << server.Process().Output();
    ASSERT_TRUE(server.WaitForLedgerReadBack()) << server.Process().Output();

    const ProgramRun interrupted = Deliver(server, "shop-9");
    EXPECT_EQ(interrupted.status, 3) << interrupted.output;
    server.Process().WriteInput("KV.OrderSettle shop-9 delivered\n");
    ASSERT_TRUE(server.Process().WaitForOutput(std::regex("\"decision\":\"delivered\""))) << server.Process().Output();
    const ProgramRun settled = Deliver(server, "shop-9");
    EXPECT_EQ(settled.status, 0) << settled.output;
    EXPECT_THAT(settled.output, ::testing::HasSubstr(R"("decision":"delivered")"));
    EXPECT_EQ(server.SlotsFilledBy("1002"), 0) << server.Process().Output();
    EXPECT_EQ(server.Quit(), 0) << server.Process().Output();
}

INSTANTIATE_TEST_SUITE_P(Sim, ShopExample, ::testing::Values("deliver.py", "deliver.js"), [](const auto& test) {
    return test.param == "deliver.py" ? std::string("Python") : std::string("JavaScript");
});

}  // namespace
}  // namespace kestrova::test
