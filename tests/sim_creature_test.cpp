// The simulated game's creatures, status components and catalogue, reached by
// member name as the plugin reaches them.
#include "dino/cryopod_data.h"
#include "game/creature.h"
#include "game/dropped_item.h"
#include "game/item.h"
#include "game/names.h"
#include "host/game.h"
#include "support/catalogue_references.h"
#include "support/game_fixture.h"

namespace kestrova::test {
namespace {


class SimCreatureTest : public GameTest {
protected:
    AActor* Spawn(const char* reference, std::string_view player = "1001")
    {
        FString text(reference);
        return Call(member::SpawnActor, Controller(player), text, 100.0f,
            0.0f, 0.0f, true);
    }

    // A spawn of a creature class, as the plugin holds it once it checked the class.
    APrimalDinoCharacter* SpawnCreature(const char* reference, std::string_view player = "1001")
    {
        return static_cast<APrimalDinoCharacter*>(Spawn(reference, player));
    }

    sim::Dino& SpawnDino(const char* reference)
    {
        return *sim::As<sim::Dino>(Spawn(reference), "test");
    }

    bool IsCreature(AActor* actor)
    {
        auto* cls = FieldOf(member::ClassPrivate, actor);
        auto* dinoClass = CallStatic(member::DinoStaticClass);
        return Call(member::IsChildOf, cls, reinterpret_cast<UStruct*>(dinoClass));
    }
};

using SimCreatureDeathTest = SimCreatureTest;

std::string Text(const FString& text) { return sim::ToUtf8(text.View()); }

TEST_F(SimCreatureTest, SpawnActorMakesCreaturesOnlyOfCreatureClasses)
{
    AActor* raptor = Spawn(kRaptor);
    ASSERT_NE(raptor, nullptr);
    EXPECT_TRUE(IsCreature(raptor));
    AActor* box = Spawn(kStorageBox);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsCreature(box));
    AActor* helmet = Spawn(kHelmet);
    ASSERT_NE(helmet, nullptr);
    EXPECT_FALSE(IsCreature(helmet));
    // The reference must match exactly, quotes and all.
    EXPECT_EQ(Spawn("/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP"), nullptr);
    EXPECT_EQ(Spawn("Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP"), nullptr);
    EXPECT_EQ(Spawn(""), nullptr);
    EXPECT_EQ(Game().Actors().size(), 3u);
}

TEST_F(SimCreatureTest, SexAlternatesOverGenderedSpawnsAndGenderlessHaveNone)
{
    std::vector<std::string> seen;
    for (const char* reference : {kRaptor, kJellyfish, kDodo, kRaptor, kGolem}) {
        APrimalDinoCharacter* creature = SpawnCreature(reference);
        seen.push_back(!ReadBit(member::UsesGender, creature)
                           ? "none"
                           : (ReadBit(member::IsFemale, creature) ? "female" : "male"));
        EXPECT_FALSE(ReadBit(member::Neutered, creature));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"male", "none", "female", "male", "none"}));
}

TEST_F(SimCreatureTest, TameNeuterColourAndDataAreKeptOnTheCreature)
{
    APrimalDinoCharacter* creature = SpawnCreature(kRaptor);
    sim::Dino& dino = *sim::As<sim::Dino>(creature, "test");
    FieldOf(member::TamingTeamID, creature) = 50001;
    FieldOf(member::AbsoluteBaseLevel, creature) = 150;
    Call(member::BeginPlay, creature);  // the game's level follows the forced one
    Call(member::TameDino, creature, Controller("1001"),
        true, 0, true, true, false);
    Call(member::DoNeuter, creature);
    Call(member::ForceUpdateColorSets, creature, 5, 42);
    EXPECT_TRUE(dino.tamed);
    EXPECT_EQ(dino.TargetingTeam, 50001);
    EXPECT_TRUE(ReadBit(member::Neutered, creature));
    // Only the neuter bit of the flag word changed.
    EXPECT_EQ(dino.flags, (1u << sim::kUsesGenderBit) | (1u << sim::kNeuteredBit));

    FARKDinoData data;
    Call(member::GetDinoData, creature, data);
    EXPECT_EQ(data.CreatureClass, sim::Handle<UClass>(dino.ClassPrivate));
    EXPECT_EQ(Text(data.Text1), "Raptor");
    EXPECT_EQ(Text(data.Text2), "Raptor - Lvl 150");
    const auto record = sim::DecodeCreature(data.CreatureBytes.GetData(), static_cast<std::size_t>(data.CreatureBytes.Num()));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->level, 150);
    EXPECT_EQ(record->team, 50001);
    EXPECT_EQ(record->colors[5], 42);

    EXPECT_EQ(Text(Call(member::ColorSetIndices, creature)), "0,0,0,0,0,42");
    const TArray<FName> names = Call(member::ColorSetNames, creature);
    ASSERT_EQ(names.Num(), 6);
    EXPECT_EQ(sim::NameText(names[0]), "Raptor_Body");
    EXPECT_EQ(Text(Call(member::CurrentDinoName,
                                                      creature, nullptr)),
              "Raptor");
}

TEST_F(SimCreatureTest, RescaleRaisesMaximaByPointsAndSyncRecordsTheBlock)
{
    APrimalDinoCharacter* creature = SpawnCreature(kRaptor);
    auto* status = Call(member::CharacterStatusComponent, creature);
    ASSERT_EQ(status, FieldOf(member::MyCharacterStatusComponent, creature));
    auto* points = FieldOf(member::LevelUpPointsApplied, status);
    const float* max = FieldOf(member::MaxStatusValues, status);
    const float* current = FieldOf(member::CurrentStatusValues, status);
    EXPECT_EQ(max[0], 200.0f);  // the catalogue's base health
    points[0] = 10;
    points[7] = 5;
    Call(member::RescaleAllStats, status);
    EXPECT_FLOAT_EQ(max[0], 400.0f);
    EXPECT_FLOAT_EQ(max[7], 210.0f);
    EXPECT_EQ(current[0], 200.0f);
    Call(member::SetAllStatsToMaximum, status);
    EXPECT_FLOAT_EQ(current[0], 400.0f);
    EXPECT_FLOAT_EQ((Call(member::RecoveryRate,
                        status, EPrimalCharacterStatusValue::Health)),
                    4.0f);

    struct {
        TArray<float> max, baseLevelMax;
    } block;
    block.max.Add(1.5f);
    block.baseLevelMax.Add(2.5f);
    block.baseLevelMax.Add(3.5f);
    UFunction* sync = FindFunction(status, "NetSyncMaxStatusValues");
    ASSERT_NE(sync, nullptr);
    Call(member::ObjectProcessEvent, status, sync, &block);
    const auto& synced = *sim::As<sim::StatusComponent>(status, "test");
    EXPECT_EQ(synced.syncedMaxValues, (std::vector<float>{1.5f}));
    EXPECT_EQ(synced.syncedBaseLevelMaxValues, (std::vector<float>{2.5f, 3.5f}));

    EXPECT_EQ(Call(member::CharacterStatusComponent, SpawnCreature(kGolem)), nullptr);
}

TEST_F(SimCreatureTest, ControllerLevelUpLeavesAStringForTheCallerToFree)
{
    EXPECT_NE(FindFunction(Spawn(kJellyfish), "ClientNotifyLevelUp"), nullptr);
    FString params;
    UFunction* notify = FindFunction(Controller("1001"), "ClientNotifyLevelUp");
    Call(member::ActorProcessEvent, Controller("1001"), notify, &params);
    EXPECT_EQ(Text(params), "Level up!");
    EXPECT_EQ(LiveBlocks(), 1);  // the caller's to free, as `params` does now
}

TEST_F(SimCreatureDeathTest, LevelUpBlocksOfTheWrongShapeStop)
{
    APrimalDinoCharacter* creature = SpawnCreature(kRaptor);
    UFunction* notify = FindFunction(creature, "ClientNotifyLevelUp");
    FString notEmpty("x");
    EXPECT_DEATH((Call(member::ActorProcessEvent, Controller("1001"), notify,
                                                &notEmpty)),
                 "the parameter block must be an empty string");
    int block = 0;
    EXPECT_DEATH(
        (Call(member::ActorProcessEvent, creature, notify, &block)),
        "takes no parameter block");
}

TEST_F(SimCreatureTest, DestroyTakesTheCreatureOutAndFreesWhatItHolds)
{
    APrimalDinoCharacter* creature = SpawnCreature(kRaptor);
    const std::int64_t eggList = HeldBlocks();
    EXPECT_EQ(eggList, 1);  // FertilizedEggItemsToSpawn
    FieldOf(member::TamerString, creature) = FString("Alice");
    FieldOf(member::ImprinterName, creature) = FString("Alice");
    EXPECT_EQ(HeldBlocks(), 3);
    EXPECT_EQ(LiveBlocks(), 0);  // what the game holds is not left over

    Call(member::DestroyDino, creature, true, false);
    EXPECT_TRUE(Game().Actors().empty());
    EXPECT_EQ(HeldBlocks(), 0);
    EXPECT_TRUE(sim::As<sim::Dino>(creature, "test")->destroyed);

    AActor* box = Spawn(kStorageBox);
    Call(member::ForceDestroy, box);
    EXPECT_TRUE(Game().Actors().empty());
}

TEST_F(SimCreatureDeathTest, DestroyingTwiceStops)
{
    APrimalDinoCharacter* creature = SpawnCreature(kJellyfish);
    Call(member::ForceDestroy, creature);
    EXPECT_DEATH(Call(member::ForceDestroy, creature), "is not in the world: AActor\\.ForceDestroy\\(\\)");
}

TEST_F(SimCreatureTest, EggClassesLeadBackToTheirReferenceThroughTheDefaultObject)
{
    APrimalDinoCharacter* raptor = SpawnCreature(kRaptor);
    const auto& eggs = FieldOf(member::FertilizedEggItemsToSpawn, raptor);
    ASSERT_EQ(eggs.Num(), 1);
    UObject* defaults = CallStatic(member::GetClassDefaultObject, eggs[0].uClass);
    FString path;
    Call(member::GetPathName, defaults, nullptr, path);
    EXPECT_EQ(Text(path), "/Game/Items/Eggs/PrimalItemConsumable_Egg_Raptor_Fertilized."
                          "Default__PrimalItemConsumable_Egg_Raptor_Fertilized_C");
    FString reference("Blueprint'/Game/Items/Eggs/PrimalItemConsumable_Egg_Raptor_Fertilized."
                      "PrimalItemConsumable_Egg_Raptor_Fertilized'");
    UClass* eggClass = CallStatic(member::StringReferenceToClass, reference).uClass;
    EXPECT_EQ(eggClass, eggs[0].uClass);
    EXPECT_EQ((Call(member::GetDefaultObject, eggClass, true)), defaults);

    FString dodoPath;
    const auto& dodoEggs = FieldOf(member::FertilizedEggItemsToSpawn, SpawnCreature(kDodo));
    Call(member::GetPathName, CallStatic(member::GetClassDefaultObject, dodoEggs[0].uClass), nullptr, dodoPath);
    EXPECT_EQ(Text(dodoPath), "/Game/Items/Eggs/PrimalItemConsumable_Egg_Dodo_Fertilized."
                              "Default__PrimalItemConsumable_Egg_Dodo_Fertilized");

    const auto clone = [](APrimalDinoCharacter* creature) {
        return Call(member::CreateCloneFertilizedEgg, creature, UE::Math::TVector<double>{},
                    UE::Math::TRotator<double>{}, TSubclassOf<ADroppedItem>{}, 0, true);
    };
    ADroppedItem* egg = clone(raptor);
    ASSERT_NE(egg, nullptr);
    auto* eggItem = FieldOf(member::DroppedItemMyItem, egg);
    EXPECT_EQ(sim::As<sim::Item>(eggItem, "test")->ClassPrivate, reinterpret_cast<sim::Class*>(eggClass));
    EXPECT_EQ(clone(SpawnCreature(kJellyfish)), nullptr);
}

TEST_F(SimCreatureTest, ConsoleShowsCreaturesClassesAndStoredCreatures)
{
    EXPECT_EQ(RunConsole("/dinos"), "No creatures in the world.\n");
    sim::Dino& raptor = SpawnDino(kRaptor);
    raptor.TamingTeamID = 50001;
    raptor.TamerString = FString("Alice");
    raptor.AbsoluteBaseLevel = 150;
    Call(member::BeginPlay, sim::Handle<APrimalDinoCharacter>(&raptor));
    raptor.SetFlag(sim::kIsFemaleBit, true);
    raptor.SetFlag(sim::kNeuteredBit, true);
    raptor.colors = {1, 2, 3, 4, 5, 6};
    raptor.MyCharacterStatusComponent->NumberOfLevelUpPointsApplied[1] = 20;
    raptor.MyCharacterStatusComponent->DinoImprintingQuality = 0.5f;
    raptor.ImprinterName = FString("Bob");
    raptor.ImprinterPlayerUniqueNetId = FString("n2");
    EXPECT_EQ(RunConsole("/dinos"),
              "  Raptor_Character_BP_C#2  level 150  female  neutered  wild  team 50001  tamer \"Alice\"\n"
              "      forced level 150, begun play\n"
              "      imprinter \"Bob\" (net id n2)  imprint quality 0.5\n"
              "      points health 0  stamina 20  torpidity 0  oxygen 0  food 0  water 0  temperature 0  weight 0  "
              "melee 0  speed 0  fortitude 0  crafting 0\n"
              "      colours Raptor_Body=1 Raptor_Stripes=2 Raptor_Crest=3 Raptor_Belly=4 Raptor_Legs=5 Raptor_Back=6\n"
              "      inventory: 0 of 100 slots\n");
    EXPECT_THAT(RunConsole("/classes"), ::testing::HasSubstr("  Golem_Character_BP_C  (no gender, no egg, no status "
                                                             "component)\n    " +
                                                             std::string(kGolem) + "\n"));

    // A cryopod as the plugin fills one, in Alice's inventory.
    sim::Item& cryopod = sim::MakeItem(Game(), *Game().GetCatalogue().Item(Game().FindClass("PrimalItem_WeaponEmptyCryopod_C")));
    {
        FCustomItemData data;
        BuildCryopodData(data, sim::Handle<APrimalDinoCharacter>(&raptor), nullptr);
        cryopod.customData = data;
    }
    Player("1001").inventory->Take(cryopod);
    EXPECT_EQ(RunConsole("/inventory"),
              "Alice (1001): 1 of 1000 slots\n"
              "  1. PrimalItem_WeaponEmptyCryopod_C#3  quality 0 (index 0)  durability 100  "
              "stats 0:0 1:0 2:0 3:0 4:0 5:0 6:0 7:0  made as game's choice  second class none\n"
              "       holds Raptor_Character_BP_C  level 150  female  neutered  team 50001  tamer \"Alice\"  "
              "named \"Raptor\"\n"
              "       imprinter \"Bob\" (net id n2)  imprint quality 0.5\n"
              "       points health 0  stamina 20  torpidity 0  oxygen 0  food 0  water 0  temperature 0  weight 0  "
              "melee 0  speed 0  fortitude 0\n"
              "       colours Raptor_Body=1 Raptor_Stripes=2 Raptor_Crest=3 Raptor_Belly=4 Raptor_Legs=5 "
              "Raptor_Back=6\n"
              "       carrying nothing\n");
    EXPECT_EQ(RunConsole("/inventory 1004"), "Dave (1004) has no inventory.\n");
}

TEST(SimGameTeardown, FreesEverythingTheGameHeld)
{
    const std::int64_t before = sim::GetMemoryStats().liveBlocks;
    {
        sim::Game game;
        FString reference(kRaptor);
        AActor* raptor = Call(member::SpawnActor, sim::Handle<AShooterPlayerController>(game.Players().front()),
                              reference, 0.0f, 0.0f, 0.0f, true);
        FieldOf(member::TamerString, static_cast<APrimalDinoCharacter*>(raptor)) = FString("Alice");
        EXPECT_GT(sim::GetMemoryStats().liveBlocks, before);
    }
    EXPECT_EQ(sim::GetMemoryStats().liveBlocks, before);
}

TEST(SimCatalogue, BadEntriesAreNamed)
{
    const auto error = [](std::string_view json) -> std::string {
        try {
            sim::Game game(sim::ParseWorld(json, "w.json"), "w.json");
        } catch (const sim::WorldError& e) {
            return e.what();
        }
        return "(no error)";
    };
    EXPECT_EQ(error(R"({"catalogue": {"creatures": [{"blueprint": "/Game/A.A", "eggItem": "/Game/E.E"}]}})"),
              "w.json: catalogue.creatures[0].eggItem: \"/Game/E.E\" is not an item of the catalogue");
    EXPECT_EQ(error(R"({"catalogue": {"items": [{"blueprint": "/Game/A.A"}, {"blueprint": "/Game/A.A"}]}})"),
              "w.json: catalogue.items[1].blueprint: \"/Game/A.A\" is given twice");
    EXPECT_EQ(error(R"({"catalogue": {"creatures": [{"blueprint": "/Game/A.A", "stats": [1, 2]}]}})"),
              "w.json: catalogue.creatures[0].stats: must be an array of 12 numbers");
    EXPECT_EQ(error(R"({"players": [{"id": "1", "name": "A", "team": 1, "netId": "n", "inventorySlots": 1,
                                      "items": ["/Game/Items/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone",
                                                "/Game/Items/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone"]}]})"),
              "w.json: players[0].items: more items than the inventory holds");
}

}  // namespace
}  // namespace kestrova::test
