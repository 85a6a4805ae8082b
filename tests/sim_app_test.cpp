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

    const sim::Options without = sim::ParseOptions({"--without-member", "A.B", "--without-member=C.D()"}, "s", "p");
    EXPECT_EQ(without.withoutMembers, (std::vector<std::string>{"A.B", "C.D()"}));
    EXPECT_TRUE(defaults.withoutMembers.empty());
}

TEST(SimProgram, KillPointsThatCanNeverBeReachedAreRefusedWithTheValidForms)
{
    const SimRun shortName = RunSim({"--kill-at", "call:SpawnActor"}, "");
    EXPECT_FALSE(shortName.succeeded);
    EXPECT_THAT(shortName.output,
                ::testing::HasSubstr("--kill-at call:SpawnActor: the game has no function of that name"));
    EXPECT_THAT(shortName.output,
                ::testing::HasSubstr("did you mean call:AShooterPlayerController.SpawnActor(FString&,float,float,"
                                     "float,bool)"));

    const SimRun field = RunSim({"--kill-at", "return:UWorld.TimeSeconds"}, "");
    EXPECT_FALSE(field.succeeded) << "a field is never called";

    const SimRun command = RunSim({"--kill-at", "dispatch:KV.SpawnDinos"}, "");
    EXPECT_FALSE(command.succeeded);
    EXPECT_THAT(command.output, ::testing::HasSubstr("the plugin registered no command of that name"));
    EXPECT_THAT(command.output, ::testing::HasSubstr("dispatch:KV.SpawnDino,"));

    const SimRun valid = RunSim({"--kill-at", "dispatch:KV.SpawnDinoFor"}, "/players\n");
    EXPECT_TRUE(valid.succeeded) << valid.output;
}

TEST(SimProgram, WithoutAMemberThePluginSaysSoAndTheRunFailsNamingIt)
{
    const std::string quality = "UPrimalItem.ItemQualityIndex";
    const SimRun run = RunSim({"--without-member", quality},
                              "KV.SpawnItem Blueprint'/Game/Items/Armor/PrimalItemArmor_MetalHelmet."
                              "PrimalItemArmor_MetalHelmet' x 0 0 1\n");
    EXPECT_TRUE(run.succeeded) << run.output;
    EXPECT_THAT(run.output, ::testing::HasSubstr("Kestrova: the game has no member " + quality +
                                                 "; KV.SpawnItem and its targeted form will fail until the plugin "
                                                 "is updated"));
    EXPECT_THAT(run.output,
                ::testing::HasSubstr("the game has no member " + quality + "; what needs it fails until the plugin "
                                     "is updated"));

    const SimRun unknown = RunSim({"--without-member", "AShooterPlayerController.SpawnActors"}, "");
    EXPECT_FALSE(unknown.succeeded);
    EXPECT_THAT(unknown.output, ::testing::HasSubstr("--without-member: \"AShooterPlayerController.SpawnActors\" "
                                                     "names no member the stand-in has"));
}

}  // namespace
}  // namespace kestrova::test
