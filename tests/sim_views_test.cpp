// What the console shows of a delivery (/dinos, /inventory, /item, /commands),
// and the world-file settings that set up the cases a delivery depends on.
#include "host/members.h"
#include "support/catalogue_references.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

const std::string kRaptorWord = kRaptor;
const std::string kHelmetWord = kHelmet;

// Hens spawn female with a baby's times, mutations, aggression and tamed points;
// ghosts have a status component that their field does not show; eggs have
// default-object paths in odd letter case, with and without "_C".
constexpr char kSettingsWorld[] = R"({
  "timeSeconds": 5000.0,
  "players": [{"id": "1001", "name": "Alice", "team": 1, "netId": "n1"}],
  "catalogue": {
    "items": [
      {"blueprint": "/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod"},
      {"blueprint": "/Game/Eggs/Egg_Hen.Egg_Hen", "defaultObjectPath": "/Game/Eggs/Egg_Hen.DEFAULT__Egg_Hen_c"},
      {"blueprint": "/Game/Eggs/Egg_Bare.Egg_Bare", "class": "Egg_Bare",
       "defaultObjectPath": "/Game/Eggs/Egg_Bare.default__Egg_Bare"},
      {"blueprint": "/Game/Eggs/Egg_Odd.Egg_Odd", "defaultObjectPath": "/Game/Eggs/Egg_Odd.Default__EGG_ODD_C"}
    ],
    "creatures": [
      {"blueprint": "/Game/Hen.Hen", "sex": "female", "eggItem": "/Game/Eggs/Egg_Hen.Egg_Hen",
       "babyNextCuddleTime": 5600.0, "nextAllowedMatingTime": 9000.0,
       "randomMutationsMale": 3, "randomMutationsFemale": 1, "tamedAggressionLevel": 4,
       "mutationsAppliedTamed": [2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0],
       "levelUpPointsAppliedTamed": [0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]},
      {"blueprint": "/Game/Ghost.Ghost", "statusComponentField": false, "eggItem": "/Game/Eggs/Egg_Bare.Egg_Bare"},
      {"blueprint": "/Game/Odd.Odd", "eggItem": "/Game/Eggs/Egg_Odd.Egg_Odd"}
    ]}})";

class SimViews : public CreatureTest {
protected:
    void Run(std::string_view line) { RunConsoleAs("1001", line); }

    const FCustomItemData& OnlyRecordOf(std::string_view player)
    {
        const auto items = InventoryOf(player);
        if (items.size() != 1)
            throw std::logic_error("expected one item");
        return items[0]->customData;
    }
};

TEST_F(SimViews, LevelsAreTheGamesBaseLevel)
{
    Run("KV.SpawnDino " + kRaptorWord + " \"\" 0 150 0 0 1 0 0");
    EXPECT_THAT(RunConsole("/dinos"), HasSubstr("  Raptor_Character_BP_C#2  level 150  male  not neutered  tamed"));

    Run("KV.SpawnDinoStats " + kRaptorWord + " \"\" 0 0 0 0 0 0,0,0 F 10 20 30 40 50 60");
    const std::string inventory = RunConsole("/inventory");
    EXPECT_THAT(inventory, HasSubstr("holds Raptor_Character_BP_C  level 211  female  not neutered"));
    EXPECT_THAT(inventory, HasSubstr("       points health 10  stamina 20  torpidity 0  oxygen 30  food 40  water 0  "
                                     "temperature 0  weight 50  melee 60  speed 0  fortitude 0\n"));
}

TEST_F(SimViews, ATargetedDeliveryShowsWhomItBelongsTo)
{
    RunRcon("KV.SpawnDinoFor 1002 " + kRaptorWord + " " + kHelmetWord + " 7 20 0.5 1 0 0 3,0,5 F");
    EXPECT_EQ(RunConsole("/inventory 1002"),
              "Bob (1002): 1 of 1000 slots\n"
              "  1. PrimalItem_WeaponEmptyCryopod_C#4  quality 0 (index 0)  durability 100  "
              "stats 0:0 1:0 2:0 3:0 4:0 5:0 6:0 7:0  made as game's choice  second class none\n"
              "       holds Raptor_Character_BP_C  level 20  female  neutered  team 50002  tamer \"Bob\"  "
              "named \"Raptor\"\n"
              "       imprinter \"Bob\" (net id 0002f3a1c9e84b7d9a1e5c6b7d8e9f02)  imprint quality 0.5\n"
              "       points health 0  stamina 0  torpidity 0  oxygen 0  food 0  water 0  temperature 0  weight 0  "
              "melee 0  speed 0  fortitude 0\n"
              "       colours Raptor_Body=3 Raptor_Stripes=0 Raptor_Crest=5 Raptor_Belly=0 Raptor_Legs=0 Raptor_Back=0\n"
              "       carrying PrimalItemArmor_MetalHelmet_C  quality 7 (index 0)  durability 128  "
              "stats 0:0 1:0 2:0 3:0 4:0 5:0 6:0 7:0\n");
}

TEST_F(SimViews, ItemShowsEveryListOfTheRecord)
{
    Run("KV.SpawnDino " + kRaptorWord + " \"\" 0 30 0 1 0 0 0 F");
    const std::string whole = RunConsole("/item 1001 1");
    for (const char* part : {"Alice (1001), item 1:\n  1. PrimalItem_WeaponEmptyCryopod_C#3  ", "  record \"Dino\"\n",
                             "    Strings (15)\n      [0] \"Raptor\"\n      [1] \"Raptor - Lvl 30\"\n",
                             "      [3] \"NEUTERED\"\n      [4] \"FEMALE\"\n", "    Floats (57)\n",
                             "      [33] 1\n", "      [56] 34\n    ReservedList (0)\n",
                             "    Classes (1)\n      [0] Class:Raptor_Character_BP_C\n",
                             "      [6] MissionTemporary\n      [7] None\n", "    ByteArrays (3)\n      [0] ",
                             "      [1] 0 bytes\n      [2] 1 bytes 02\n", "    Doubles (7)\n      [0] 5000\n"})
        EXPECT_THAT(whole, HasSubstr(part));

    // A creature's own items, by its label.
    Run("KV.SpawnDino " + kRaptorWord + " " + kHelmetWord + " 9 30 0 0 1 0 0");
    EXPECT_THAT(RunConsole("/item Raptor_Character_BP_C#4 1"),
                HasSubstr("  1. PrimalItemArmor_MetalHelmet_C#5  quality 9 (index 0)"));
    EXPECT_EQ(RunConsole("/item 1001 2"), "Alice (1001) holds 1 items.\n");
    EXPECT_EQ(RunConsole("/item 1004 1"), "Dave (1004) has no inventory.\n");
    EXPECT_EQ(RunConsole("/item 9999 1"), "No player with id 9999 and no creature 9999 in the world\n");
    EXPECT_THAT(RunConsole("/item 1001"), HasSubstr("Usage: /item ID N"));
}

TEST_F(SimViews, CommandsAreListedInTheOrderMade)
{
    EXPECT_EQ(RunConsole("/commands"),
              "  1  RCON     Kestrova.Reload\n"
              "  2  console  Kestrova.Reload\n"
              "  3  console  KV.SpawnDino\n"
              "  4  console  KV.SpawnDinoStats\n"
              "  5  console  KV.SpawnItem\n"
              "  6  console  KV.SpawnDinoFor\n"
              "  7  console  KV.SpawnDinoStatsFor\n"
              "  8  console  KV.SpawnItemFor\n"
              "  9  RCON     KV.SpawnItemFor\n"
              " 10  RCON     KV.SpawnDinoFor\n"
              " 11  RCON     KV.SpawnDinoStatsFor\n");
    Unload();
    EXPECT_EQ(RunConsole("/commands"), "No commands are registered.\n");
    Load();
}

TEST_F(SimViews, AnEggLiesInOnePlace)
{
    Run("KV.SpawnDino " + kRaptorWord + " \"\" 0 10 0 0 0 1 0");
    ASSERT_THAT(InventoryOf("1001"), SizeIs(1));
    EXPECT_EQ(RunConsole("/dinos"), "No creatures in the world.\n") << "the egg was picked up";

    // For a player without an inventory the plugin takes the dropped egg back and
    // keeps the creature.
    RunConsoleAs("1004", "KV.SpawnDino " + kRaptorWord + " \"\" 0 10 0 0 0 1 0");
    const std::string world = RunConsole("/dinos");
    EXPECT_THAT(world, HasSubstr("tamer \"Dave\""));
    EXPECT_THAT(world, Not(HasSubstr("DroppedItemGeneric_C")));
}

TEST_F(SimViews, WorldSettingsReachTheStoredCreature)
{
    StartGame(kSettingsWorld);
    Load();
    Run("KV.SpawnDino Blueprint'/Game/Hen.Hen' \"\" 0 10 0 0 0 0 0");
    const FCustomItemData& hen = OnlyRecordOf("1001");
    ASSERT_EQ(hen.Doubles.Num(), 7);
    EXPECT_EQ(hen.Doubles[1], 600.0) << "the next cuddle, from now";
    EXPECT_EQ(hen.Doubles[2], 9000.0) << "mating time as the field holds it";
    EXPECT_EQ(hen.Doubles[3], 3.0);
    EXPECT_EQ(hen.Doubles[4], 1.0);
    EXPECT_EQ(hen.Strings[4].View(), WTEXT("FEMALE"));
    EXPECT_EQ(hen.Floats[34], 2.0f) << "points plus tamed mutations";
    EXPECT_EQ(hen.Floats[46], 5.0f) << "tamed points";
    EXPECT_EQ(hen.ByteArrays[2].Num(), 1);
    EXPECT_EQ(hen.ByteArrays[2][0], 4) << "the tamed aggression";
    EXPECT_THAT(RunConsole("/inventory"), HasSubstr("       tamed points health 0  stamina 5  torpidity 0"));
}

TEST_F(SimViews, AStatusComponentTheFieldDoesNotShow)
{
    StartGame(kSettingsWorld);
    Load();
    Run("KV.SpawnDinoStats Blueprint'/Game/Ghost.Ghost' \"\" 0 0.5 0 1 0 0,0,0 R 10 20 30 40 50 60");
    // The points go nowhere: the field reads null. The imprint and the stored
    // floats reach the component through its getter all the same.
    EXPECT_THAT(RunConsole("/dinos"), HasSubstr("  Ghost_C#"));
    const std::string dinos = RunConsole("/dinos");
    EXPECT_THAT(dinos, HasSubstr("level 1  male  not neutered  tamed"));
    EXPECT_THAT(dinos, HasSubstr("imprint quality 0.5\n      points health 0  stamina 0"));
    EXPECT_THAT(dinos, HasSubstr("      its field APrimalCharacter.MyCharacterStatusComponent reads null\n"));
    EXPECT_THAT(Journal().CallsTo(member::RescaleAllStats.name), IsEmpty());
    EXPECT_THAT(Journal().CallsTo(member::SetAllStatsToMaximum.name), SizeIs(1));

    Run("KV.SpawnDino Blueprint'/Game/Ghost.Ghost' \"\" 0 10 0.25 0 0 0 0");
    const FCustomItemData& ghost = OnlyRecordOf("1001");
    EXPECT_EQ(ghost.Doubles.Num(), 6) << "no imprint quality without the field";
    EXPECT_EQ(ghost.Floats.Num(), 57);
}

TEST_F(SimViews, EggClassesAreFoundByTheirDefaultObjectsPath)
{
    StartGame(kSettingsWorld);
    Load();
    Run("KV.SpawnDino Blueprint'/Game/Hen.Hen' \"\" 0 10 0 0 0 1 0");    // "DEFAULT__" and "_c"
    Run("KV.SpawnDino Blueprint'/Game/Ghost.Ghost' \"\" 0 10 0 0 0 1 0");  // no "_C" at all
    Run("KV.SpawnDino Blueprint'/Game/Odd.Odd' \"\" 0 10 0 0 0 1 0");      // the asset in other letter case
    EXPECT_THAT(Steps({"StringReferenceToClass"}),
                ElementsAre("StringReferenceToClass(\"Blueprint'/Game/Eggs/Egg_Hen.Egg_Hen'\")",
                            "StringReferenceToClass(\"Blueprint'/Game/Eggs/Egg_Bare.Egg_Bare'\")",
                            "StringReferenceToClass(\"Blueprint'/Game/Eggs/Egg_Odd.EGG_ODD'\")"));
    const auto eggs = InventoryOf("1001");
    ASSERT_THAT(eggs, SizeIs(2));
    EXPECT_EQ(eggs[0]->ClassPrivate->name, "Egg_Hen_C");
    EXPECT_EQ(eggs[1]->ClassPrivate->name, "Egg_Bare");
    EXPECT_THAT(RunConsole("/dinos"), HasSubstr("  Odd_C#")) << "no egg: the odd creature stays";
}

std::string WorldError(std::string_view creature)
{
    try {
        sim::Game game(sim::ParseWorld(std::string(R"({"catalogue": {"creatures": [)") + std::string(creature) + "]}}",
                                       "w.json"),
                       "w.json");
    } catch (const sim::WorldError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(SimViewsWorldFile, BadSettingsAreNamedWithTheirPlace)
{
    EXPECT_EQ(WorldError(R"({"blueprint": "/Game/A.A", "sex": "both"})"),
              "w.json: catalogue.creatures[0].sex: must be \"female\" or \"male\", not \"both\"");
    EXPECT_EQ(WorldError(R"({"blueprint": "/Game/A.A", "tamedAggressionLevel": 256})"),
              "w.json: catalogue.creatures[0].tamedAggressionLevel: must be 0 to 255, not 256");
    EXPECT_EQ(WorldError(R"({"blueprint": "/Game/A.A", "mutationsAppliedTamed": [0,0,0,0,0,0,0,0,0,0,0,-1]})"),
              "w.json: catalogue.creatures[0].mutationsAppliedTamed[11]: must be 0 to 255, not -1");
    EXPECT_EQ(WorldError(R"({"blueprint": "/Game/A.A", "statusComponentField": 0})"),
              "w.json: catalogue.creatures[0].statusComponentField: must be true or false, not number");
}

}  // namespace
}  // namespace kestrova::test
