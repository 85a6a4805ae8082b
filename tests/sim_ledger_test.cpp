// kestrova-sim's /ledger: the plugin's delivery ledger read from the server's
// folder, each line decoded on one line; the orders outlive the run that took
// them, and a torn line shows as one instead of hiding the others. And what the
// ledger records of an RCON client.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/options.h"
#include "support/catalogue_references.h"
#include "support/regex_matchers.h"
#include "support/run_sim.h"
#include "support/server_dir.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

using ::testing::Each;
using ::testing::HasSubstr;

const std::string kRaptorWord = kRaptor;
const std::string kSpawnFor = "KV.SpawnDinoFor 1002 " + kRaptorWord + " \"\" 0 150 0 0 0 0 0";

class SimLedger : public ::testing::Test {
protected:
    SimRun Run(const std::string& input) { return RunSim({"--no-rcon", "--server-dir", dir_.Root().string()}, input); }

    TempServerDir dir_{R"({"DeliveryLedger": "deliveries.jsonl"})"};
};

TEST_F(SimLedger, ShowsWhatEarlierRunsRecordedDecoded)
{
    {
        // The ledger reads its files back on its own thread; an order waits for that.
        SimServer first(dir_, {});
        ASSERT_TRUE(first.WaitForLedgerReadBack()) << first.Process().Output();
        first.Process().WriteInput("KV.Order shop-1 " + kSpawnFor + "\nKV.SpawnItemFor 9999 x y 0 0 1\n");
        ASSERT_EQ(first.Quit(), 0) << first.Process().Output();
    }

    const SimRun second = Run("/ledger\n/ledger 1\n");
    EXPECT_THAT(second.output, ContainsStdRegex(R"(Z  order shop-1 started  by Alice \(net id [0-9a-f]+\)  KV\.Order shop-1 KV\.SpawnDinoFor 1002 )"));
    EXPECT_THAT(second.output, ContainsStdRegex(R"(Z  order shop-1 outcome  KV\.SpawnDinoFor  for Bob \(1002\)  delivered)"));
    EXPECT_THAT(second.output, ContainsStdRegex(R"(Z  KV\.SpawnItemFor  by Alice \(net id [0-9a-f]+\)  for id 9999  nothing \(no-such-player\))"));
}

// An RCON client is recorded by its address and port: two connections, two ports.
TEST_F(SimLedger, RecordsAnRconClientByItsAddressAndPort)
{
    {
        SimServer server(dir_, {});
        ASSERT_NE(server.Port(), 0) << server.Process().Output();
        for (int i = 0; i < 2; ++i) {
            tools::RconClient client = server.Client();
            ASSERT_TRUE(client.Authenticate(sim::kDefaultRconPassword));
            ASSERT_TRUE(client.Command("KV.SpawnItemFor 9999 x y 0 0 1", 2));
        }
        EXPECT_EQ(server.Quit(), 0) << server.Process().Output();
    }
    std::ifstream file(dir_.ConfigPath().parent_path() / "deliveries.jsonl");
    std::vector<std::string> peers;
    for (std::string line; std::getline(file, line);)
        peers.push_back(nlohmann::json::parse(line)["from"].value("rcon", ""));
    ASSERT_EQ(peers.size(), 2u);
    EXPECT_THAT(peers, Each(MatchesStdRegex(R"(127\.0\.0\.1:[1-9][0-9]*)")));
    EXPECT_NE(peers[0], peers[1]);
}

TEST_F(SimLedger, ATornLineShowsAsOneBetweenWholeOnes)
{
    const std::filesystem::path ledger = dir_.ConfigPath().parent_path() / "deliveries.jsonl";
    std::ofstream(ledger, std::ios::binary)
        << "{\"v\":1,\"time\":\"2026-12-08T10:00:00.000Z\",\"order\":\"a\",\"event\":\"started\"}\n"
        << "{\"v\":1,\"time\":\"2026-12-08T10:00:0";
    const SimRun run = Run("/ledger 5\n");
    EXPECT_THAT(run.output, HasSubstr("2026-12-08T10:00:00.000Z  order a started  by ?"));
    EXPECT_THAT(run.output, HasSubstr("(not one JSON object: a torn or damaged line) {\"v\":1,\"time\":\"2026-12-08T10:00:0\n"));
}

TEST_F(SimLedger, ASettlementShowsWhoDecidedWhatAndTheirNote)
{
    const std::filesystem::path ledger = dir_.ConfigPath().parent_path() / "deliveries.jsonl";
    std::ofstream(ledger, std::ios::binary)
        << R"({"decision":"not-delivered","event":"settled","from":{"rcon":"127.0.0.1:41236"},)"
        << R"("note":"inventory empty","order":"a","time":"2026-12-08T10:05:00.000Z","v":1})" << '\n'
        << R"({"decision":"delivered","event":"settled","from":{"console":null},)"
        << R"("note":null,"order":"b","time":"2026-12-08T10:06:00.000Z","v":1})" << '\n';
    const SimRun run = Run("/ledger\n");
    EXPECT_THAT(run.output, HasSubstr(R"(2026-12-08T10:05:00.000Z  order a settled  by rcon 127.0.0.1:41236  )"
                                      R"(not-delivered  "inventory empty")" "\n"));
    EXPECT_THAT(run.output, HasSubstr("2026-12-08T10:06:00.000Z  order b settled  by the server console  delivered\n"));
}

}  // namespace
}  // namespace kestrova::test
