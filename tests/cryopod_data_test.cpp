// The record a cryopod stores for its creature (BuildCryopodData), and the
// fertilized egg delivery (GiveFertilizedEgg).
#include <chrono>
#include <string>
#include <vector>

#include "dino/cryopod_data.h"
#include "dino/fertilized_egg.h"
#include "game/dropped_item.h"
#include "game/names.h"
#include "host/members.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

template <typename T>
std::vector<T> Slice(const TArray<T>& list, int from, int count)
{
    return std::vector<T>(list.GetData() + from, list.GetData() + from + count);
}

std::vector<std::uint8_t> Bytes(const TArray<uint8>& bytes) { return Slice(bytes, 0, bytes.Num()); }

double WallClockNow()
{
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
}

class BuildCryopodData : public CreatureTest {
protected:
    void Build(FCustomItemData& data, sim::Dino& creature, sim::Item* item = nullptr)
    {
        kestrova::BuildCryopodData(data, sim::Handle<APrimalDinoCharacter>(&creature),
                                   item != nullptr ? sim::Handle<UPrimalItem>(item) : nullptr);
    }

    sim::Item& MakeHelmet()
    {
        return sim::MakeItem(Game(), *Game().GetCatalogue().Item(Game().FindClass("PrimalItemArmor_MetalHelmet_C")));
    }

    std::vector<std::string> Strings(const FCustomItemData& data)
    {
        std::vector<std::string> strings;
        for (const FString& text : data.Strings)
            strings.push_back(TextOf(text));
        return strings;
    }
};

TEST_F(BuildCryopodData, StoresANeuteredFemaleExactly)
{
    SpawnDirect(kRaptor);  // the game's first raptor is male, its second female
    sim::Dino& raptor = SpawnDirect(kRaptor);
    raptor.SetFlag(sim::kNeuteredBit, true);
    raptor.AbsoluteBaseLevel = 40;
    raptor.TamingTeamID = 50001;
    raptor.colors = {1, 2, 3, 4, 5, 6};
    raptor.BabyNextCuddleTime = 5600;  // 600 game seconds from now
    raptor.NextAllowedMatingTime = 9000;
    raptor.RandomMutationsMale = 3;
    raptor.RandomMutationsFemale = 16777217;  // not exact as a float
    raptor.TamedAggressionLevel = 3;
    sim::StatusComponent& status = *raptor.MyCharacterStatusComponent;
    for (int i = 0; i < 12; ++i) {
        status.CurrentStatusValues[i] = static_cast<float>(i) + 0.5f;
        status.NumberOfLevelUpPointsApplied[i] = static_cast<std::uint8_t>(i + 1);
        status.NumberOfMutationsAppliedTamed[i] = 250;
        status.NumberOfLevelUpPointsAppliedTamed[i] = static_cast<std::uint8_t>(100 + i);
    }
    status.DinoImprintingQuality = 0.25f;

    const double before = WallClockNow();
    FCustomItemData data;
    Build(data, raptor);
    const double after = WallClockNow();

    EXPECT_EQ(sim::NameText(data.DataName), "Dino");
    std::vector<std::string> names;
    for (const FName& name : data.Names)
        names.push_back(sim::NameText(name));
    EXPECT_THAT(names, ElementsAre("Raptor_Body", "Raptor_Stripes", "Raptor_Crest", "Raptor_Belly", "Raptor_Legs",
                                   "Raptor_Back", "MissionTemporary", "None"));
    // "None" is only looked up; the record's other names are made when absent.
    std::vector<std::string> made;
    for (const sim::JournalEntry& entry : Journal().CallsTo(member::MakeName.name))
        made.push_back(entry.ToString());
    EXPECT_THAT(made, ElementsAre(HasSubstr("(\"Dino\", 1)"), HasSubstr("(\"MissionTemporary\", 1)"),
                                  HasSubstr("(\"None\", 0)")));
    EXPECT_THAT(Slice(data.Classes, 0, data.Classes.Num()), ElementsAre(sim::Handle<UClass>(raptor.ClassPrivate)));
    EXPECT_EQ(data.ReservedList.Num(), 0);

    EXPECT_THAT(Strings(data), ElementsAre("Raptor", "Raptor - Lvl 40", "1,2,3,4,5,6", "NEUTERED", "FEMALE", "", "0", "",
                                           "", "", "0", "0", "0", "", "Raptor"));

    ASSERT_EQ(data.Floats.Num(), 57);
    std::vector<float> current, max, recovery, points, tamed;
    for (int i = 0; i < 11; ++i) {
        current.push_back(status.CurrentStatusValues[i]);
        max.push_back(status.MaxStatusValues[i]);
        recovery.push_back(status.MaxStatusValues[i] / 100.0f);
        points.push_back(static_cast<float>(i + 1 + 250));  // points and mutations added as integers
        tamed.push_back(static_cast<float>(100 + i));
    }
    EXPECT_EQ(Slice(data.Floats, 0, 11), current) << "index 11 is never stored";
    EXPECT_EQ(Slice(data.Floats, 11, 11), max);
    EXPECT_EQ(Slice(data.Floats, 22, 11), recovery);
    EXPECT_EQ(data.Floats[33], 1.0f);
    EXPECT_EQ(Slice(data.Floats, 34, 11), points);
    EXPECT_EQ(Slice(data.Floats, 45, 11), tamed);
    EXPECT_EQ(data.Floats[56], 34.0f);

    ASSERT_EQ(data.Doubles.Num(), 7);
    EXPECT_EQ(data.Doubles[0], 5000.0) << "the world's game time";
    EXPECT_EQ(data.Doubles[1], 600.0) << "the next cuddle, relative";
    EXPECT_EQ(data.Doubles[2], 9000.0) << "the next mating, absolute";
    EXPECT_EQ(data.Doubles[3], 3.0);
    EXPECT_EQ(data.Doubles[4], 16777216.0) << "through a 32-bit float";
    EXPECT_EQ(data.Doubles[5], 0.25);
    EXPECT_GE(data.Doubles[6], before);
    EXPECT_LE(data.Doubles[6], after);

    ASSERT_EQ(data.ByteArrays.Num(), 3);
    EXPECT_EQ(Bytes(data.ByteArrays[0]), sim::EncodeCreature(raptor));
    EXPECT_THAT(Bytes(data.ByteArrays[1]), IsEmpty());
    EXPECT_THAT(Bytes(data.ByteArrays[2]), ElementsAre(3));
}

TEST_F(BuildCryopodData, GenderlessCreatureHasNoSexTextButKeepsItsFemaleFlag)
{
    sim::Dino& jellyfish = SpawnDirect(kJellyfish);
    FCustomItemData plain;
    Build(plain, jellyfish);
    EXPECT_EQ(TextOf(plain.Strings[3]), "");
    EXPECT_EQ(TextOf(plain.Strings[4]), "");
    EXPECT_EQ(plain.Floats[33], 0.0f);
    EXPECT_EQ(plain.Names.Num(), 2) << "no colour set names, then the two fixed ones";

    jellyfish.SetFlag(sim::kIsFemaleBit, true);
    FCustomItemData flagged;
    Build(flagged, jellyfish);
    EXPECT_EQ(TextOf(flagged.Strings[4]), "");
    EXPECT_EQ(flagged.Floats[33], 1.0f);
}

TEST_F(BuildCryopodData, ItemBytesComeSecondAndTheRecordIsClearedFirst)
{
    sim::Dino& raptor = SpawnDirect(kRaptor);
    sim::Item& helmet = MakeHelmet();
    helmet.ItemStatValues[2] = 0x1234;

    FCustomItemData data;
    Build(data, raptor, &helmet);
    Build(data, raptor, &helmet);  // a second fill replaces the first
    EXPECT_EQ(data.Strings.Num(), 15);
    EXPECT_EQ(data.Floats.Num(), 57);
    EXPECT_EQ(data.Doubles.Num(), 7);
    ASSERT_EQ(data.ByteArrays.Num(), 4);
    EXPECT_EQ(Bytes(data.ByteArrays[0]), sim::EncodeCreature(raptor));
    EXPECT_EQ(Bytes(data.ByteArrays[1]), sim::ItemBytes(helmet));
    EXPECT_THAT(Bytes(data.ByteArrays[2]), IsEmpty());
    EXPECT_THAT(Bytes(data.ByteArrays[3]), ElementsAre(2));
}

TEST_F(BuildCryopodData, CreatureWithoutStatusComponentHasSixDoubles)
{
    sim::Dino& golem = SpawnDirect(kGolem);
    golem.RandomMutationsMale = 1;
    const double before = WallClockNow();
    FCustomItemData data;
    Build(data, golem);
    ASSERT_EQ(data.Doubles.Num(), 6);
    EXPECT_EQ(data.Doubles[3], 1.0);
    EXPECT_GE(data.Doubles[5], before) << "the wall clock moves up to take the imprint's place";
    EXPECT_EQ(data.Floats.Num(), 57);
    EXPECT_EQ(data.Strings.Num(), 15);
}

class GiveFertilizedEgg : public CreatureTest {
protected:
    ADroppedItem* Give(sim::Dino& creature, std::string_view player = "1001")
    {
        Journal().Clear();
        return kestrova::GiveFertilizedEgg(Controller(player), sim::Handle<APrimalDinoCharacter>(&creature));
    }
};

TEST_F(GiveFertilizedEgg, EggReferenceIsBuiltFromTheDefaultObjectsPath)
{
    ADroppedItem* raptorEgg = Give(SpawnDirect(kRaptor));
    ASSERT_NE(raptorEgg, nullptr);
    EXPECT_THAT(Steps({"GetPathName", "StringReferenceToClass"}),
                ElementsAre("Default__PrimalItemConsumable_Egg_Raptor_Fertilized_C GetPathName(null, \"\")",
                            "StringReferenceToClass(\"Blueprint'/Game/Items/Eggs/"
                            "PrimalItemConsumable_Egg_Raptor_Fertilized.PrimalItemConsumable_Egg_Raptor_Fertilized'\")"));

    // No "_C" to cut from the dodo's egg class; "Default__" still goes.
    ASSERT_NE(Give(SpawnDirect(kDodo)), nullptr);
    EXPECT_THAT(Steps({"StringReferenceToClass"}),
                ElementsAre("StringReferenceToClass(\"Blueprint'/Game/Items/Eggs/"
                            "PrimalItemConsumable_Egg_Dodo_Fertilized.PrimalItemConsumable_Egg_Dodo_Fertilized'\")"));

    const std::vector<sim::Item*> eggs = InventoryOf("1001");
    ASSERT_THAT(eggs, SizeIs(2));
    EXPECT_EQ(sim::As<sim::DroppedItem>(raptorEgg, "test")->MyItem, eggs[0]);
    EXPECT_EQ(eggs[1]->ClassPrivate->name, "PrimalItemConsumable_Egg_Dodo_Fertilized");
}

TEST_F(GiveFertilizedEgg, ReferenceCutsTheClassSuffixInAnyCaseAndEveryDefaultPrefix)
{
    const auto reference = [](const char* path) {
        const FString text(path);
        return sim::ToUtf8(EggReference(text.View()));
    };
    EXPECT_EQ(reference("/Game/Eggs/Egg.Default__Egg_C"), "Blueprint'/Game/Eggs/Egg.Egg'");
    EXPECT_EQ(reference("/Game/Eggs/Egg.default__Egg_c"), "Blueprint'/Game/Eggs/Egg.Egg'");
    EXPECT_EQ(reference("/Game/Eggs/Egg.Default__Egg"), "Blueprint'/Game/Eggs/Egg.Egg'");
    EXPECT_EQ(reference("/Game/Eggs/Egg_C.Egg_Cx"), "Blueprint'/Game/Eggs/Egg_C.Egg_Cx'");
}

TEST_F(GiveFertilizedEgg, NoEggClassGivesNothingAndNoInventoryLeavesTheEggDropped)
{
    EXPECT_EQ(Give(SpawnDirect(kJellyfish)), nullptr);
    EXPECT_THAT(Trail(), IsEmpty());

    ADroppedItem* egg = Give(SpawnDirect(kRaptor, "1004"), "1004");
    ASSERT_NE(egg, nullptr);
    EXPECT_EQ(CountOf(member::AddItemObject.name), 0u);
    EXPECT_EQ(sim::As<sim::Item>(sim::As<sim::DroppedItem>(egg, "test")->MyItem, "test")->inventory, nullptr);
}

}  // namespace
}  // namespace kestrova::test
