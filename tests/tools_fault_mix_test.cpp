// The soak tools against servers in this process: the fault mix against the RCON
// endpoint (every kind of hostile connection handled as it should be, while a good
// client and honest ones are served), and the load generator's checking of replies.
#include <chrono>

#include <gtest/gtest.h>

#include "echo_server.h"
#include "faults.h"
#include "latency.h"
#include "load.h"
#include "support/rcon_fixture.h"

namespace kestrova::tools {
namespace {

using namespace std::chrono_literals;

TEST(ToolsLatencies, NearestRankPercentiles)
{
    Latencies latencies;
    for (int i = 100; i >= 1; --i)
        latencies.Add(std::chrono::microseconds(i));
    EXPECT_DOUBLE_EQ(latencies.Percentile(0.5), 50);
    EXPECT_DOUBLE_EQ(latencies.Percentile(0.99), 99);
    EXPECT_DOUBLE_EQ(latencies.Percentile(1.0), 100);
    EXPECT_DOUBLE_EQ(latencies.Max(), 100);
    EXPECT_EQ(latencies.Over(90us), 10u);
    EXPECT_DOUBLE_EQ(Latencies().Percentile(0.99), 0) << "none at all";
}

TEST(ToolsLoad, ChecksEveryReply)
{
    EchoServer floor("pw");
    LoadOptions options;
    options.port = floor.Port();
    options.password = "pw";
    options.clients = 4;
    options.requests = 2000;
    options.command = "ping";
    options.expect = "ping";
    LoadResult result = RunLoad(options);
    EXPECT_TRUE(result.Clean()) << result.firstProblem;
    EXPECT_EQ(result.answered, 2000u);
    EXPECT_EQ(result.latencies.Count(), 2000u);
    EXPECT_EQ(result.clientsIn, 4u);

    options.expect = "pong";
    result = RunLoad(options);
    EXPECT_EQ(result.wrong, 2000u);
    EXPECT_EQ(result.answered, 0u);

    options.password = "wrong";
    result = RunLoad(options);
    EXPECT_EQ(result.clientsIn, 0u);
    EXPECT_EQ(result.lost, 2000u) << "requests never sent count as lost";
}

class ToolsFaultMix : public test::RconFixture {};

TEST_F(ToolsFaultMix, EveryKindIsHandledWhileGoodAndHonestClientsAreServed)
{
    Start();
    FaultOptions options;
    options.server = {"127.0.0.1", server_->Port(), kPassword};
    options.perKind = 20;
    options.rate = 0;
    options.quietRequests = 20;
    options.goodGap = 0ms;
    options.honestGap = 1ms;
    options.command = "hello";
    options.expect = "echo: hello";
    options.cheapCommand = "cheap";
    const FaultResult result = RunFaultMix(options);

    for (const Fault kind : options.kinds) {
        const FaultOutcome& outcome = result.kinds[static_cast<std::size_t>(kind)];
        EXPECT_EQ(outcome.runs, 20u) << Name(kind);
        EXPECT_EQ(outcome.unexpected, 0u) << Name(kind) << ": " << outcome.firstUnexpected;
    }
    for (const GoodRequests* good : {&result.quiet, &result.underAttack})
        EXPECT_EQ(good->wrong + good->lost, 0u) << good->problem;
    EXPECT_GT(result.underAttack.latencies.Count(), 0u);
    EXPECT_GT(result.honestTries, 0u);
    EXPECT_EQ(result.honestIn, result.honestTries);

    // Every hostile connection ends on the server's side too.
    EXPECT_TRUE(test::WaitUntil([&] { return server_->Connections() == 0; })) << server_->Connections();
}

TEST_F(ToolsFaultMix, MoreWorkersThanAddressesKeepTheAuthenticatedOnesWithinTheLimits)
{
    Start();
    FaultOptions options;
    options.server = {"127.0.0.1", server_->Port(), kPassword};
    options.kinds = {Fault::CloseMidReply};
    options.workers = 6 * options.hostileFrom.size();  // more at once than an address may hold
    options.perKind = 4 * options.workers;
    options.rate = 0;
    options.quietRequests = 1;
    options.command = "hello";
    options.expect = "echo: hello";
    options.cheapCommand = "cheap";
    const FaultResult result = RunFaultMix(options);

    const FaultOutcome& outcome = result.kinds[static_cast<std::size_t>(Fault::CloseMidReply)];
    EXPECT_EQ(outcome.runs, options.perKind);
    EXPECT_EQ(outcome.unexpected, 0u) << outcome.firstUnexpected;
}

}  // namespace
}  // namespace kestrova::tools
