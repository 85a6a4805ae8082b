// kestrova-sim as a program: its command line and its exit status.
#include <fstream>

#include "app/options.h"
#include "support/run_sim.h"
#include "support/server_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova::test {
namespace {

TEST(SimOptions, FlagsAndTheirValues)
{
    const sim::Options defaults = sim::ParseOptions({}, "server", "plugin.so");
    EXPECT_EQ(defaults.serverDir, "server");
    EXPECT_FALSE(defaults.world.has_value());
    const sim::Options given = sim::ParseOptions({"--world=w.json", "--plugin", "p.so", "--server-dir", "d"}, "s", "x");
    EXPECT_EQ(given.world, std::filesystem::path("w.json"));
    EXPECT_EQ(given.plugin, "p.so");
    EXPECT_EQ(given.serverDir, "d");
    EXPECT_THROW(sim::ParseOptions({"--worlds", "w"}, "s", "p"), sim::UsageError);
    EXPECT_THROW(sim::ParseOptions({"--world"}, "s", "p"), sim::UsageError);
    EXPECT_THROW(sim::ParseOptions({"extra"}, "s", "p"), sim::UsageError);

    const sim::Options killed = sim::ParseOptions({"--kill-at", "return:APrimalDinoCharacter.Destroy(bool,bool)"}, "s", "p");
    ASSERT_TRUE(killed.killAt);
    EXPECT_EQ(killed.killAt->when, sim::TripWhen::Return);
    EXPECT_EQ(killed.killAt->name, "APrimalDinoCharacter.Destroy(bool,bool)");
    EXPECT_EQ(sim::ParseOptions({"--kill-at=dispatch:KV.Order"}, "s", "p").killAt->when, sim::TripWhen::Dispatch);
    EXPECT_FALSE(defaults.killAt);
    EXPECT_THROW(sim::ParseOptions({"--kill-at", "KV.Order"}, "s", "p"), sim::UsageError);
    EXPECT_THROW(sim::ParseOptions({"--kill-at", "call:"}, "s", "p"), sim::UsageError);
}

TEST(SimProgram, WrongCommandLineOrWorldFailsWithTheReason)
{
    const SimRun flag = RunSim({"--bogus"}, "");
    EXPECT_FALSE(flag.succeeded);
    EXPECT_THAT(flag.output, ::testing::HasSubstr("unknown option \"--bogus\""));

    const auto dir = MakeTempDir("kestrova-world");
    const auto world = (dir / "broken.json").string();
    std::ofstream(world) << "{ \"players\": [ { \"id\": \"1\" } ] }";
    const SimRun broken = RunSim({"--world", world}, "");
    EXPECT_FALSE(broken.succeeded);
    EXPECT_THAT(broken.output, ::testing::HasSubstr(world + ": players[0]: \"name\" is missing"));
    std::filesystem::remove_all(dir);
}

TEST(SimProgram, PluginWithoutConfigFailsToStart)
{
    TempServerDir server(std::nullopt);
    const SimRun run = RunSim({"--server-dir", server.Root().string()}, "/players\n");
    EXPECT_FALSE(run.succeeded);
    EXPECT_THAT(run.output, ::testing::HasSubstr("Can't open config.json"));
}

TEST(SimProgram, ReloadOnTheExampleServer)
{
    const SimRun run = RunSim({}, "Kestrova.Reload\n@server Kestrova.Reload\n/as 1002\nKestrova.Reload\n");
    EXPECT_TRUE(run.succeeded) << run.output;
    EXPECT_THAT(run.output, ::testing::HasSubstr("[to Alice (green)] Reloaded Config!\n"));
    EXPECT_THAT(run.output, ::testing::HasSubstr("Now acting as Bob (1002).\n[to Bob (green)] Reloaded Config!\n"));
}

}  // namespace
}  // namespace kestrova::test
