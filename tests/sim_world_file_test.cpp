// World files: what a world description builds, and how a bad one is reported.
#include "Resolve.h"
#include "support/game_fixture.h"

namespace kestrova::test {
namespace {

using SimWorldFileTest = GameTest;

std::string BuildError(std::string_view json)
{
    try {
        sim::Game game(sim::ParseWorld(json, "w.json"), "w.json");
    } catch (const sim::WorldError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(SimWorldFile, ErrorsNameTheFileAndThePlace)
{
    EXPECT_THAT(BuildError("{ \"players\": [ }"), ::testing::StartsWith("w.json: [json.exception.parse_error.101]"));
    EXPECT_EQ(BuildError("[]"), "w.json: the world must be a JSON object, not array");
    EXPECT_EQ(BuildError(R"({"players": {}})"), "w.json: \"players\" must be an array, not object");
    EXPECT_EQ(BuildError(R"({"players": [{"name": "A", "team": 1, "netId": "n"}]})"),
              "w.json: players[0]: \"id\" is missing");
    EXPECT_EQ(BuildError(R"({"players": [{"id": "1", "name": "A", "team": "x", "netId": "n"}]})"),
              "w.json: players[0].team: must be an integer, not string");
    EXPECT_EQ(BuildError(R"({"players": [{"id": "1", "name": "A", "team": 4294967296, "netId": "n"}]})"),
              "w.json: players[0].team: 4294967296 does not fit a 32-bit integer");
    EXPECT_EQ(BuildError(R"({"players": [{"id": "1", "name": "A", "team": 1, "netId": "n"},
                                         {"id": "1", "name": "B", "team": 2, "netId": "m"}]})"),
              "w.json: players[1].id: \"1\" is given twice");
    EXPECT_EQ(BuildError(R"({"timeSeconds": true})"), "w.json: world.timeSeconds: must be a number, not boolean");
    EXPECT_EQ(BuildError(R"({"withoutMembers": ["UWorld.Time"]})"),
              "w.json: withoutMembers[0]: \"UWorld.Time\" names no member the stand-in has (as /journal names them)");
    EXPECT_EQ(BuildError(R"w({"withoutMembers": ["FMemory.Free(void*)"]})w"),
              "w.json: withoutMembers[0]: \"FMemory.Free(void*)\" is the game's allocator, which every host has");
    EXPECT_EQ(BuildError(R"({"withoutMembers": [1]})"), "w.json: withoutMembers[0]: must be a string, not number");
}

// A member the world withholds resolves empty, as a host says of one the game lacks;
// a field or flag asked with no object answers only whether the game has it.
TEST_F(SimWorldFileTest, WithheldMembersResolveEmpty)
{
    StartGame(R"w({"players": [{"id": "p1", "name": "Ann", "team": 7, "netId": "n1"}],
                  "withoutMembers": ["UWorld.TimeSeconds", "APrimalDinoCharacter.bIsFemale", "AActor.GetWorld()"]})w");
    EXPECT_EQ(GetAddress("AActor.GetWorld()"), nullptr);
    EXPECT_EQ(GetAddress(nullptr, "UWorld.TimeSeconds"), nullptr);
    EXPECT_EQ(GetAddress(&Game().GetWorld(), "UWorld.TimeSeconds"), nullptr);
    EXPECT_EQ(GetBitField(nullptr, "APrimalDinoCharacter.bIsFemale").NumBits, 0u);
    EXPECT_NE(GetAddress("AActor.ForceDestroy()"), nullptr);
    EXPECT_NE(GetAddress(nullptr, "UPrimalItem.ItemDurability"), nullptr) << "present, asked without an object";
    EXPECT_NE(GetBitField(nullptr, "APrimalDinoCharacter.bNeutered").NumBits, 0u);

    StartGame(R"({"players": [{"id": "p1", "name": "Ann", "team": 7, "netId": "n1"}]})");
    EXPECT_NE(GetAddress("AActor.GetWorld()"), nullptr) << "a new game has every member again";
}

TEST(SimWorldFile, MissingFileIsNamed)
{
    try {
        sim::ReadWorldFile("/no/such/dir/world.json");
        FAIL() << "no error";
    } catch (const sim::WorldError& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("/no/such/dir/world.json: cannot open the world file"));
    }
}

TEST_F(SimWorldFileTest, FlagsDefaultAndUnknownKeysAreIgnored)
{
    StartGame(R"({
      "timeSeconds": 12.5, "creatures": [{"future": true}], "comment": "ignored",
      "players": [
        {"id": "p1", "name": "Ann", "team": 7, "netId": "n1", "extra": 1},
        {"id": "p2", "name": "Ben", "team": 8, "netId": "n2", "hasInventory": false, "notifyLevelUp": false}
      ]})");
    EXPECT_EQ(Game().GetWorld().TimeSeconds, 12.5);
    ASSERT_EQ(Game().Players().size(), 2u);
    ASSERT_NE(Player("p1").inventory, nullptr);
    EXPECT_EQ(Player("p1").inventory->maxSlots, 1000);
    EXPECT_TRUE(Player("p1").ClassPrivate->HasFunction("ClientNotifyLevelUp"));
    EXPECT_EQ(Player("p2").inventory, nullptr);
    EXPECT_FALSE(Player("p2").ClassPrivate->HasFunction("ClientNotifyLevelUp"));
    EXPECT_TRUE(Player("p2").ClassPrivate->IsChildOf(Game().FindClass("APlayerController")));
}

}  // namespace
}  // namespace kestrova::test
