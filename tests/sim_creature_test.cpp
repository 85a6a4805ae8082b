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
        return Call<AActor*, FString&, float, float, float, bool>(
            "AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)", Controller(player), text, 100.0f,
            0.0f, 0.0f, true);
    }

    sim::Dino& SpawnDino(const char* reference)
    {
        return *sim::As<sim::Dino>(Spawn(reference), "test");
    }

    bool IsCreature(AActor* actor)
    {
        auto* cls = Field<UStruct*>(actor, "UObjectBase.ClassPrivate");
        auto* dinoClass = CallStatic<UClass*>("APrimalDinoCharacter.GetPrivateStaticClass()");
        return Call<bool, UStruct*>("UStruct.IsChildOf(UStruct*)", cls, reinterpret_cast<UStruct*>(dinoClass));
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
        AActor* creature = Spawn(reference);
        seen.push_back(!ReadBit(creature, "APrimalDinoCharacter.bUsesGender")
                           ? "none"
                           : (ReadBit(creature, "APrimalDinoCharacter.bIsFemale") ? "female" : "male"));
        EXPECT_FALSE(ReadBit(creature, "APrimalDinoCharacter.bNeutered"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"male", "none", "female", "male", "none"}));
}

TEST_F(SimCreatureTest, TameNeuterColourAndDataAreKeptOnTheCreature)
{
    AActor* creature = Spawn(kRaptor);
    sim::Dino& dino = *sim::As<sim::Dino>(creature, "test");
    Field<std::int32_t>(creature, "APrimalDinoCharacter.TamingTeamID") = 50001;
    Field<std::int32_t>(creature, "APrimalDinoCharacter.AbsoluteBaseLevel") = 150;
    Call<void, AShooterPlayerController*, bool, int, bool, bool, bool>(
        "APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)", creature, Controller("1001"),
        true, 0, true, true, false);
    Call<void>("APrimalDinoCharacter.DoNeuter_Implementation()", creature);
    Call<void, int, int>("APrimalDinoCharacter.ForceUpdateColorSets_Implementation(int,int)", creature, 5, 42);
    EXPECT_TRUE(dino.tamed);
    EXPECT_EQ(dino.TargetingTeam, 50001);
    EXPECT_TRUE(ReadBit(creature, "APrimalDinoCharacter.bNeutered"));
    // Only the neuter bit of the flag word changed.
    EXPECT_EQ(dino.flags, (1u << sim::kUsesGenderBit) | (1u << sim::kNeuteredBit));

    FARKDinoData data;
    Call<void, FARKDinoData&>("APrimalDinoCharacter.GetDinoData(FARKDinoData&)", creature, data);
    EXPECT_EQ(data.CreatureClass, sim::Handle<UClass>(dino.ClassPrivate));
    EXPECT_EQ(Text(data.Text1), "Raptor");
    EXPECT_EQ(Text(data.Text2), "Raptor - Lvl 150");
    const auto record = sim::DecodeCreature(data.CreatureBytes.GetData(), static_cast<std::size_t>(data.CreatureBytes.Num()));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->level, 150);
    EXPECT_EQ(record->team, 50001);
    EXPECT_EQ(record->colors[5], 42);

    EXPECT_EQ(Text(Call<FString>("APrimalDinoCharacter.GetColorSetInidcesAsString()", creature)), "0,0,0,0,0,42");
    const TArray<FName> names = Call<TArray<FName>>("APrimalDinoCharacter.GetColorSetNamesAsArray()", creature);
    ASSERT_EQ(names.Num(), 6);
    EXPECT_EQ(sim::NameText(names[0]), "Raptor_Body");
    EXPECT_EQ(Text(Call<FString, APlayerController*>("APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)",
                                                      creature, nullptr)),
              "Raptor");
}

TEST_F(SimCreatureTest, RescaleRaisesMaximaByPointsAndSyncRecordsTheBlock)
{
    AActor* creature = Spawn(kRaptor);
    auto* status = Call<UPrimalCharacterStatusComponent*>("APrimalCharacter.GetCharacterStatusComponent()", creature);
    ASSERT_EQ(status, Field<UPrimalCharacterStatusComponent*>(creature, "APrimalCharacter.MyCharacterStatusComponent"));
    auto* points = &Field<uint8>(status, "UPrimalCharacterStatusComponent.NumberOfLevelUpPointsApplied");
    const float* max = &Field<float>(status, "UPrimalCharacterStatusComponent.MaxStatusValues");
    const float* current = &Field<float>(status, "UPrimalCharacterStatusComponent.CurrentStatusValues");
    EXPECT_EQ(max[0], 200.0f);  // the catalogue's base health
    points[0] = 10;
    points[7] = 5;
    Call<void>("UPrimalCharacterStatusComponent.RescaleAllStats()", status);
    EXPECT_FLOAT_EQ(max[0], 400.0f);
    EXPECT_FLOAT_EQ(max[7], 210.0f);
    EXPECT_EQ(current[0], 200.0f);
    Call<void>("UPrimalCharacterStatusComponent.SetAllStatsToMaximum()", status);
    EXPECT_FLOAT_EQ(current[0], 400.0f);
    EXPECT_FLOAT_EQ((Call<float, EPrimalCharacterStatusValue::Type>(
                        "UPrimalCharacterStatusComponent.GetStatusValueRecoveryRate(EPrimalCharacterStatusValue::Type)",
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
    Call<void, UFunction*, void*>("UObject.ProcessEvent(UFunction*,void*)", status, sync, &block);
    const auto& synced = *sim::As<sim::StatusComponent>(status, "test");
    EXPECT_EQ(synced.syncedMaxValues, (std::vector<float>{1.5f}));
    EXPECT_EQ(synced.syncedBaseLevelMaxValues, (std::vector<float>{2.5f, 3.5f}));

    EXPECT_EQ(Call<UPrimalCharacterStatusComponent*>("APrimalCharacter.GetCharacterStatusComponent()", Spawn(kGolem)),
              nullptr);
}

TEST_F(SimCreatureTest, ControllerLevelUpLeavesAStringForTheCallerToFree)
{
    EXPECT_NE(FindFunction(Spawn(kJellyfish), "ClientNotifyLevelUp"), nullptr);
    FString params;
    UFunction* notify = FindFunction(Controller("1001"), "ClientNotifyLevelUp");
    Call<void, UFunction*, void*>("AActor.ProcessEvent(UFunction*,void*)", Controller("1001"), notify, &params);
    EXPECT_EQ(Text(params), "Level up!");
    EXPECT_EQ(LiveBlocks(), 1);  // the caller's to free, as `params` does now
}

TEST_F(SimCreatureDeathTest, LevelUpBlocksOfTheWrongShapeStop)
{
    AActor* creature = Spawn(kRaptor);
    UFunction* notify = FindFunction(creature, "ClientNotifyLevelUp");
    FString notEmpty("x");
    EXPECT_DEATH((Call<void, UFunction*, void*>("AActor.ProcessEvent(UFunction*,void*)", Controller("1001"), notify,
                                                &notEmpty)),
                 "the parameter block must be an empty string");
    int block = 0;
    EXPECT_DEATH(
        (Call<void, UFunction*, void*>("AActor.ProcessEvent(UFunction*,void*)", creature, notify, &block)),
        "takes no parameter block");
}

TEST_F(SimCreatureTest, DestroyTakesTheCreatureOutAndFreesWhatItHolds)
{
    AActor* creature = Spawn(kRaptor);
    const std::int64_t eggList = HeldBlocks();
    EXPECT_EQ(eggList, 1);  // FertilizedEggItemsToSpawn
    Field<FString>(creature, "APrimalDinoCharacter.TamerString") = FString("Alice");
    Field<FString>(creature, "APrimalDinoCharacter.ImprinterName") = FString("Alice");
    EXPECT_EQ(HeldBlocks(), 3);
    EXPECT_EQ(LiveBlocks(), 0);  // what the game holds is not left over

    Call<void, bool, bool>("APrimalDinoCharacter.Destroy(bool,bool)", creature, true, false);
    EXPECT_TRUE(Game().Actors().empty());
    EXPECT_EQ(HeldBlocks(), 0);
    EXPECT_TRUE(sim::As<sim::Dino>(creature, "test")->destroyed);

    AActor* box = Spawn(kStorageBox);
    Call<void>("AActor.ForceDestroy()", box);
    EXPECT_TRUE(Game().Actors().empty());
}

TEST_F(SimCreatureDeathTest, DestroyingTwiceStops)
{
    AActor* creature = Spawn(kJellyfish);
    Call<void>("AActor.ForceDestroy()", creature);
    EXPECT_DEATH(Call<void>("AActor.ForceDestroy()", creature), "is not in the world: AActor\\.ForceDestroy\\(\\)");
}

TEST_F(SimCreatureTest, EggClassesLeadBackToTheirReferenceThroughTheDefaultObject)
{
    AActor* raptor = Spawn(kRaptor);
    const auto& eggs = Field<TArray<TSubclassOf<UPrimalItem>>>(raptor, "APrimalDinoCharacter.FertilizedEggItemsToSpawn");
    ASSERT_EQ(eggs.Num(), 1);
    UObject* defaults = CallStatic<UObject*, UClass*>("UVictoryCore.GetClassDefaultObject(UClass*)", eggs[0].uClass);
    FString path;
    Call<void, UObject*, FString&>("UObjectBaseUtility.GetPathName(UObject*,FString&)", defaults, nullptr, path);
    EXPECT_EQ(Text(path), "/Game/Items/Eggs/PrimalItemConsumable_Egg_Raptor_Fertilized."
                          "Default__PrimalItemConsumable_Egg_Raptor_Fertilized_C");
    FString reference("Blueprint'/Game/Items/Eggs/PrimalItemConsumable_Egg_Raptor_Fertilized."
                      "PrimalItemConsumable_Egg_Raptor_Fertilized'");
    auto* eggClass = CallStatic<UClass*, FString&>("UVictoryCore.StringReferenceToClass(FString&)", reference);
    EXPECT_EQ(eggClass, eggs[0].uClass);
    EXPECT_EQ((Call<UObject*, bool>("UClass.GetDefaultObject(bool)", eggClass, true)), defaults);

    FString dodoPath;
    const auto& dodoEggs = Field<TArray<TSubclassOf<UPrimalItem>>>(Spawn(kDodo), "APrimalDinoCharacter.FertilizedEggItemsToSpawn");
    Call<void, UObject*, FString&>("UObjectBaseUtility.GetPathName(UObject*,FString&)",
                                   CallStatic<UObject*, UClass*>("UVictoryCore.GetClassDefaultObject(UClass*)",
                                                                 dodoEggs[0].uClass),
                                   nullptr, dodoPath);
    EXPECT_EQ(Text(dodoPath), "/Game/Items/Eggs/PrimalItemConsumable_Egg_Dodo_Fertilized."
                              "Default__PrimalItemConsumable_Egg_Dodo_Fertilized");

    using EggFn = ADroppedItem* (*)(void*, UE::Math::TVector<double>, UE::Math::TRotator<double>,
                                    TSubclassOf<ADroppedItem>, int, bool);
    const char* clone = "APrimalDinoCharacter.CreateCloneFertilizedEgg(UE::Math::TVector<double>,"
                        "UE::Math::TRotator<double>,TSubclassOf<ADroppedItem>,int,bool)";
    ADroppedItem* egg = reinterpret_cast<EggFn>(GetAddress(clone))(raptor, {}, {}, {}, 0, true);
    ASSERT_NE(egg, nullptr);
    auto* eggItem = Field<UPrimalItem*>(egg, "ADroppedItem.MyItem");
    EXPECT_EQ(sim::As<sim::Item>(eggItem, "test")->ClassPrivate, reinterpret_cast<sim::Class*>(eggClass));
    EXPECT_EQ(reinterpret_cast<EggFn>(GetAddress(clone))(Spawn(kJellyfish), {}, {}, {}, 0, true), nullptr);
}

TEST_F(SimCreatureTest, ConsoleShowsCreaturesClassesAndStoredCreatures)
{
    EXPECT_EQ(RunConsole("/dinos"), "No creatures in the world.\n");
    sim::Dino& raptor = SpawnDino(kRaptor);
    raptor.TamingTeamID = 50001;
    raptor.TamerString = FString("Alice");
    raptor.AbsoluteBaseLevel = 150;
    raptor.SetFlag(sim::kIsFemaleBit, true);
    raptor.SetFlag(sim::kNeuteredBit, true);
    raptor.colors = {1, 2, 3, 4, 5, 6};
    raptor.MyCharacterStatusComponent->NumberOfLevelUpPointsApplied[1] = 20;
    raptor.MyCharacterStatusComponent->DinoImprintingQuality = 0.5f;
    EXPECT_EQ(RunConsole("/dinos"),
              "  Raptor_Character_BP_C#2  team 50001  tamer \"Alice\"  level 150 (points level 1)  female, neutered, wild\n");
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
              "  1. PrimalItem_WeaponEmptyCryopod_C#3  quality index 0  stats 1:0 2:0 3:0 5:0 7:0  durability 100  "
              "made with sixth=false eighth=false\n"
              "      holds Raptor_Character_BP_C  level 150  FEMALE  neutered  imprint 0.5\n"
              "      colours Raptor_Body=1 Raptor_Stripes=2 Raptor_Crest=3 Raptor_Belly=4 Raptor_Legs=5 Raptor_Back=6\n"
              "      points 0 20 0 0 0 0 0 0 0 0 0\n");
    EXPECT_EQ(RunConsole("/inventory 1004"), "Dave (1004) has no inventory.\n");
}

TEST(SimGameTeardown, FreesEverythingTheGameHeld)
{
    const std::int64_t before = sim::GetMemoryStats().liveBlocks;
    {
        sim::Game game;
        FString reference(kRaptor);
        AActor* raptor = Call<AActor*, FString&, float, float, float, bool>(
            "AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)",
            sim::Handle<AShooterPlayerController>(game.Players().front()), reference, 0.0f, 0.0f, 0.0f, true);
        Field<FString>(raptor, "APrimalDinoCharacter.TamerString") = FString("Alice");
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
