// SpawnTamedDino with filled options: which steps run for which options, the
// cryopod's life limit, and the runs that end early.
#include <cmath>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

#include "dino/spawn_pipeline.h"
#include "host/members.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::SizeIs;

class SpawnTamedDino : public CreatureTest {
protected:
    // A creature for Alice, kept in the world, with nothing else asked for.
    DinoSpawnOptions Options(const char* blueprint = kRaptor)
    {
        DinoSpawnOptions options;
        options.Controller = Controller("1001");
        options.BlueprintPath = blueprint;
        options.KeepInWorld = true;
        options.Colors.assign(6, 0);
        return options;
    }

    void Spawn(DinoSpawnOptions options) { kestrova::SpawnTamedDino(std::move(options)); }

    // The durability of the cryopod Alice received.
    float CryopodDurability()
    {
        DinoSpawnOptions options = Options();
        options.KeepInWorld = false;
        Spawn(options);
        const std::vector<sim::Item*> items = InventoryOf("1001");
        if (items.empty())
            throw std::logic_error("no cryopod");
        return items.back()->ItemDurability;
    }
};

TEST_F(SpawnTamedDino, ImprintsOnlyAboveZero)
{
    for (const float quality : {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN()}) {
        DinoSpawnOptions options = Options();
        options.ImprintQuality = quality;
        Spawn(options);
    }
    EXPECT_THAT(Steps({"GetUniqueNetIdAsString", "MulticastProperty", "ServerSyncReplicatedValues"}), IsEmpty());
    for (const sim::Dino* creature : Creatures()) {
        EXPECT_EQ(TextOf(creature->ImprinterName), "");
        EXPECT_EQ(creature->MyCharacterStatusComponent->DinoImprintingQuality, 0.0f);
    }

    Journal().Clear();
    DinoSpawnOptions options = Options();
    options.ImprintQuality = 1.75f;  // not clamped
    Spawn(options);
    const sim::Dino& imprinted = NewestCreature();
    EXPECT_EQ(TextOf(imprinted.ImprinterName), "Alice");
    EXPECT_EQ(TextOf(imprinted.ImprinterPlayerUniqueNetId), "0002f3a1c9e84b7d9a1e5c6b7d8e9f01");
    EXPECT_EQ(imprinted.MyCharacterStatusComponent->DinoImprintingQuality, 1.75f);
    EXPECT_THAT(Steps({"BeginPlay", "GetPlayerCharacterName", "GetUniqueNetIdAsString", "GetCharacterStatusComponent",
                       "FName", "MulticastProperty", "ServerSyncReplicatedValues", "StringReferenceToClass"}),
                ElementsAre("Alice GetPlayerCharacterName()",  // the tamer
                            "Raptor_Character_BP_C#5 BeginPlay()", "Alice GetPlayerCharacterName()",
                            "Alice GetUniqueNetIdAsString()", "Raptor_Character_BP_C#5 GetCharacterStatusComponent()",
                            "FName(\"ImprinterName\", 0)", "Raptor_Character_BP_C#5 MulticastProperty(ImprinterName, false)",
                            "FName(\"ImprinterPlayerUniqueNetId\", 0)",
                            "Raptor_Character_BP_C#5 MulticastProperty(ImprinterPlayerUniqueNetId, false)",
                            "Raptor_Character_BP_C#5 GetCharacterStatusComponent()",
                            "Raptor_Character_BP_C#5.Status ServerSyncReplicatedValues()",
                            ::testing::StartsWith("StringReferenceToClass(")));
}

TEST_F(SpawnTamedDino, StatsAndColoursNeedExactlySixValues)
{
    for (const std::size_t count : {0u, 5u, 7u}) {
        DinoSpawnOptions options = Options();
        options.StatPoints.assign(count, 9);
        options.Colors.assign(count, 4);
        Spawn(options);
    }
    EXPECT_EQ(CountOf(member::RescaleAllStats.name), 0u);
    EXPECT_EQ(CountOf(member::SetAllStatsToMaximum.name), 0u);
    EXPECT_EQ(CountOf(member::ForceUpdateColorSets.name), 0u);
    for (const sim::Dino* creature : Creatures()) {
        EXPECT_EQ(creature->MyCharacterStatusComponent->BaseCharacterLevel, 1);
        EXPECT_EQ(creature->colors, (std::array<int, 6>{}));
    }
}

TEST_F(SpawnTamedDino, FixedSexIsWrittenOnlyWhereTheCreatureHasGender)
{
    DinoSpawnOptions male = Options();
    male.RandomGender = false;
    male.Female = 0;
    DinoSpawnOptions female = male;
    female.Female = 7;  // any non-zero value

    Spawn(female);                      // the game's male made female
    Spawn(male);                        // the game's female made male
    DinoSpawnOptions jellyfish = female;
    jellyfish.BlueprintPath = kJellyfish;
    Spawn(jellyfish);

    const std::vector<sim::Dino*> creatures = Creatures();
    ASSERT_THAT(creatures, SizeIs(3));
    EXPECT_TRUE(creatures[0]->Flag(sim::kIsFemaleBit));
    EXPECT_FALSE(creatures[1]->Flag(sim::kIsFemaleBit));
    EXPECT_EQ(creatures[2]->flags, 0u);
}

TEST_F(SpawnTamedDino, AsEggMakesNoItemInTheCreature)
{
    DinoSpawnOptions options = Options(kDodo);
    options.AsEgg = true;
    options.InventoryItemPath = kHelmet;
    Spawn(options);
    EXPECT_THAT(Creatures(), IsEmpty());
    EXPECT_EQ(CountOf(member::AddNewItem.name), 0u);
    ASSERT_THAT(InventoryOf("1001"), SizeIs(1));
    EXPECT_EQ(InventoryOf("1001")[0]->ClassPrivate->name, "PrimalItemConsumable_Egg_Dodo_Fertilized");
}

TEST_F(SpawnTamedDino, ItemPathsAreResolvedWithoutQuotes)
{
    DinoSpawnOptions quoted = Options();
    quoted.InventoryItemPath = "\"" + std::string(kHelmet) + "\"";
    quoted.InventoryItemQuality = -2;
    Spawn(quoted);
    // A single double quote is no "no item" form: its empty rest is resolved.
    DinoSpawnOptions single = Options();
    single.InventoryItemPath = "\"";
    Spawn(single);
    DinoSpawnOptions none = Options();
    none.InventoryItemPath = "\"\"";
    Spawn(none);

    EXPECT_THAT(Steps({"StringReferenceToClass"}),
                ElementsAre("StringReferenceToClass(\"" + std::string(kHelmet) + "\")", EndsWith("Cryopod'\")"),
                            "StringReferenceToClass(\"\")", EndsWith("Cryopod'\")"), EndsWith("Cryopod'\")")));
    ASSERT_THAT(Creatures()[0]->MyInventoryComponent->items, SizeIs(1));
    EXPECT_EQ(Creatures()[0]->MyInventoryComponent->items[0]->askedQuality, -2.0f);
    EXPECT_THAT(Creatures()[1]->MyInventoryComponent->items, IsEmpty());
}

TEST_F(SpawnTamedDino, WrongTypedCryopodClassEndsTheRunWithTheCreatureSetUpInTheWorld)
{
    UseConfig(R"({"CryopodBP": 5})");
    DinoSpawnOptions options = Options();
    options.Neuter = true;
    options.InventoryItemPath = kHelmet;
    options.Colors = {0, 0, 0, 0, 0, 9};
    // The pipeline leaves containment to its caller, with the creature it made.
    try {
        Spawn(options);
        ADD_FAILURE() << "no error";
    } catch (const MadeBeforeError& partial) {
        ASSERT_TRUE(partial.made.creature);
        EXPECT_EQ(partial.made.creature->delivery, Delivery::World);
        EXPECT_THROW(std::rethrow_exception(partial.Cause()), nlohmann::json::type_error);
    }

    // Through the command, the error is contained and logged once.
    RunConsoleAs("1001", "KV.SpawnDino " + std::string(kRaptor) + " " + kHelmet + " 0 20 0 1 1 0 0,0,0,0,0,9");
    EXPECT_EQ(Escaped(), 0);
    EXPECT_THAT(LogLines(), ElementsAre(EndsWith("[Kestrova][error] [json.exception.type_error.302] type must be "
                                                 "string, but is number")));
    const sim::Dino& raptor = NewestCreature();
    EXPECT_TRUE(raptor.tamed);
    EXPECT_TRUE(raptor.Flag(sim::kNeuteredBit));
    EXPECT_EQ(raptor.colors[5], 9);
    EXPECT_THAT(raptor.MyInventoryComponent->items, SizeIs(1));
    EXPECT_EQ(CountOf(member::StringReferenceToClass.name), 2u) << "the helmet twice; the cryopod never";
}

TEST_F(SpawnTamedDino, CryopodLifeIsBroughtToTheConfiguredHours)
{
    EXPECT_EQ(CryopodDurability(), 100.0f) << "the game's own durability without a limit";
    EXPECT_EQ(CountOf(member::AddItemDurability.name), 0u);

    UseConfig(R"({"CryoLimitTime": true})");
    EXPECT_EQ(CryopodDurability(), 3600.0f);
    EXPECT_THAT(Steps({"AddItemDurability"}), ElementsAre(EndsWith("AddItemDurability(3500)")));

    UseConfig(R"({"CryoLimitTime": true, "CryoLifeInHours": 2})");
    EXPECT_EQ(CryopodDurability(), 7200.0f);

    // Hours whose seconds do not fit 32 bits saturate instead of going negative.
    UseConfig(R"({"CryoLimitTime": true, "CryoLifeInHours": 1000000})");
    EXPECT_EQ(CryopodDurability(), static_cast<float>(std::numeric_limits<std::int32_t>::max()));
}

TEST_F(SpawnTamedDino, UnresolvedCryopodClassDeliversInTheWorld)
{
    UseConfig(R"({"CryopodBP": "Blueprint'/Game/Nothing/Here.Here'"})");
    DinoSpawnOptions options = Options();
    options.KeepInWorld = false;
    Spawn(options);
    EXPECT_TRUE(OnlyCreature().tamed);
    EXPECT_EQ(CountOf(member::AddNewItem.name), 0u);
    EXPECT_EQ(CountOf(member::DestroyDino.name), 0u);
}

TEST_F(SpawnTamedDino, RunEndsAtTheSpawnForNothingOrForAnActorThatIsNoCreature)
{
    Spawn(Options("Blueprint'/Game/Nothing/Here.Here'"));
    EXPECT_THAT(Steps(), ElementsAre("Alice SpawnActor(\"Blueprint'/Game/Nothing/Here.Here'\", 100, 0, 0, true)"));
    EXPECT_THAT(Game().Actors(), IsEmpty());

    Journal().Clear();
    Spawn(Options(kStorageBox));
    EXPECT_THAT(Steps(), ElementsAre(::testing::StartsWith("Alice SpawnActor("), "GetPrivateStaticClass()",
                                     "Class:StorageBox_Small_C IsChildOf(Class:APrimalDinoCharacter)"));
    ASSERT_THAT(Game().Actors(), SizeIs(1));
    EXPECT_EQ(Game().Actors()[0]->TargetingTeam, 0) << "left untamed";
}

}  // namespace
}  // namespace kestrova::test
