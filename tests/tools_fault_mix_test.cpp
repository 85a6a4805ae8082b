// The soak tools against servers in this process: the fault mix against the RCON
// endpoint (every kind of hostile connection handled as it should be, while a good
// client and honest ones are served), and the load generator's checking of replies.
#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "echo_server.h"
#include "faults.h"
#include "latency.h"
#include "load.h"
#include "rcon/game_thread.h"
#include "rcon/server.h"

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

TEST(ToolsFaultMix, EveryKindIsHandledWhileGoodAndHonestClientsAreServed)
{
    sim::rcon::GameThread game;
    sim::rcon::ServerOptions serverOptions;
    serverOptions.port = 0;
    serverOptions.password = "pw";
    auto server = std::make_unique<sim::rcon::Server>(
        serverOptions,
        [&game](sim::rcon::Request request, sim::rcon::Respond respond) {
            game.Post([request = std::move(request), respond = std::move(respond)] {
                respond({{request.id, "echo: " + request.body}});
            });
        },
        [](std::string_view) {});
    ASSERT_TRUE(server->Start()) << server->Error();

    FaultOptions options;
    options.port = server->Port();
    options.password = "pw";
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
    EXPECT_EQ(result.goodWrong + result.goodLost, 0u) << result.goodProblem;
    EXPECT_GT(result.underAttack.Count(), 0u);
    EXPECT_GT(result.honestTries, 0u);
    EXPECT_EQ(result.honestIn, result.honestTries);

    // Every hostile connection ends on the server's side too.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (server->Connections() > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(server->Connections(), 0u);
}

}  // namespace
}  // namespace kestrova::tools
