// KV.SpawnDino through its console callback: the grammar, the pipeline's members in
// order with their values, and what the player ends up with.
#include <string>

#include "host/members.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;

const std::string kRaptorWord = kRaptor;

class SpawnDino : public CreatureTest {
protected:
    // Runs "KV.SpawnDino <words>" as the player.
    void Run(const std::string& words, std::string_view player = "1001")
    {
        RunConsoleAs(player, "KV.SpawnDino " + words);
    }

    // Runs a line that must leave no trace at all.
    void ExpectNothing(const std::string& words)
    {
        SCOPED_TRACE(words);
        Journal().Clear();
        Run(words);
        EXPECT_THAT(Trail(), IsEmpty());
        EXPECT_THAT(Creatures(), IsEmpty());
        EXPECT_EQ(Escaped(), 0);
        EXPECT_THAT(LogLines(), IsEmpty());
    }

    // The creature a cryopod holds, as the game encoded it.
    static sim::CreatureRecord Stored(const sim::Item& cryopod)
    {
        const TArray<uint8>& bytes = cryopod.customData.ByteArrays[0];
        const auto record = sim::DecodeCreature(bytes.GetData(), static_cast<std::size_t>(bytes.Num()));
        if (!record)
            throw std::logic_error("the cryopod holds no creature");
        return *record;
    }
};

TEST_F(SpawnDino, DefaultRunSetsTheCreatureUpAndPacksItIntoACryopodForThePlayer)
{
    Run(kRaptorWord + " " + kHelmet + " 3 150 0.5 1 0 0 1,0,3 F");

    EXPECT_THAT(Steps({"SpawnActor", "SetTribeTamingDinoSettings", "TameDino", "DoNeuter_Implementation", "BeginPlay",
                       "GetUniqueNetIdAsString", "MulticastProperty", "ServerSyncReplicatedValues", "RescaleAllStats",
                       "ForceUpdateColorSets_Implementation", "StringReferenceToClass", "AddNewItem",
                       "AddItemDurability", "SetCustomItemData", "UpdatedItem", "AddItemObject", "Destroy",
                       "ForceDestroy"}),
                ElementsAre("Alice SpawnActor(\"" + kRaptorWord + "\", 100, 0, 0, true)",
                            "Alice.PlayerState SetTribeTamingDinoSettings(Raptor_Character_BP_C#2)",
                            "Raptor_Character_BP_C#2 TameDino(Alice, true, 0, true, true, false)",
                            "Raptor_Character_BP_C#2 DoNeuter_Implementation()",
                            "Raptor_Character_BP_C#2 BeginPlay()",
                            "Alice GetUniqueNetIdAsString()",
                            "Raptor_Character_BP_C#2 MulticastProperty(ImprinterName, false)",
                            "Raptor_Character_BP_C#2 MulticastProperty(ImprinterPlayerUniqueNetId, false)",
                            "Raptor_Character_BP_C#2.Status ServerSyncReplicatedValues()",
                            "Raptor_Character_BP_C#2 ForceUpdateColorSets_Implementation(0, 1)",
                            "Raptor_Character_BP_C#2 ForceUpdateColorSets_Implementation(2, 3)",
                            "StringReferenceToClass(\"" + std::string(kHelmet) + "\")",
                            "AddNewItem(Class:PrimalItemArmor_MetalHelmet_C, Raptor_Character_BP_C#2.Inventory, true, "
                            "false, 3, false, 0, false, 0, false, null, 0, false, false, true)",
                            StartsWith("StringReferenceToClass(\"Blueprint'/Game/Extinction/CoreBlueprints/Weapons/"
                                       "PrimalItem_WeaponEmptyCryopod."),
                            "AddNewItem(Class:PrimalItem_WeaponEmptyCryopod_C, null, false, false, 0, false, 0, false, "
                            "0, false, null, 0, false, false, true)",
                            "PrimalItem_WeaponEmptyCryopod_C#4 SetCustomItemData(Dino{15 strings, 57 floats, 1 classes, "
                            "8 names, 4 byte arrays, 7 doubles})",
                            "PrimalItem_WeaponEmptyCryopod_C#4 UpdatedItem(true, false)",
                            "Alice.Inventory AddItemObject(PrimalItem_WeaponEmptyCryopod_C#4)",
                            "Raptor_Character_BP_C#2 Destroy(true, false)"));

    EXPECT_THAT(Creatures(), IsEmpty());
    ASSERT_THAT(InventoryOf("1001"), SizeIs(1));
    const sim::Item& cryopod = *InventoryOf("1001")[0];
    EXPECT_EQ(cryopod.ClassPrivate->name, kCryopodClass);
    EXPECT_EQ(cryopod.ItemDurability, 100.0f) << "no life limit without CryoLimitTime";
    const sim::CreatureRecord stored = Stored(cryopod);
    EXPECT_EQ(stored.level, 150);
    EXPECT_EQ(stored.team, 50001);
    EXPECT_EQ(stored.flags, (1u << sim::kUsesGenderBit) | (1u << sim::kIsFemaleBit) | (1u << sim::kNeuteredBit));
    EXPECT_EQ(stored.colors, (std::array<std::int32_t, 6>{1, 0, 3, 0, 0, 0}));
    const FCustomItemData& data = cryopod.customData;
    EXPECT_EQ(TextOf(data.Strings[3]), "NEUTERED");
    EXPECT_EQ(TextOf(data.Strings[4]), "FEMALE");
    EXPECT_EQ(data.Doubles[5], 0.5) << "the imprint quality";
    // The helmet made in the creature's inventory travels in the cryopod.
    const TArray<uint8>& itemBytes = data.ByteArrays[1];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(itemBytes.GetData())), "PrimalItemArmor_MetalHelmet_C");
}

TEST_F(SpawnDino, KeepInWorldLeavesTheTamedCreatureWithItsItem)
{
    // Word 2 in double quotes: they are removed before the item is resolved.
    Run(kRaptorWord + " \"" + kHelmet + "\" 7 30 0 0 1 0 0,0,0,0,0,0");

    sim::Dino& raptor = OnlyCreature();
    EXPECT_TRUE(raptor.tamed);
    EXPECT_TRUE(raptor.begunPlay);
    EXPECT_EQ(raptor.TamingTeamID, 50001);
    EXPECT_EQ(TextOf(raptor.TamerString), "Alice");
    EXPECT_EQ(raptor.AbsoluteBaseLevel, 30);
    EXPECT_FALSE(raptor.Flag(sim::kNeuteredBit));
    EXPECT_EQ(TextOf(raptor.ImprinterName), "") << "imprint 0 is no imprint";
    EXPECT_EQ(raptor.colors, (std::array<int, 6>{}));
    ASSERT_THAT(raptor.MyInventoryComponent->items, SizeIs(1));
    const sim::Item& helmet = *raptor.MyInventoryComponent->items[0];
    EXPECT_EQ(helmet.ClassPrivate->name, "PrimalItemArmor_MetalHelmet_C");
    EXPECT_EQ(helmet.askedQuality, 7.0f);

    // The cryopod class is still looked up, but nothing is packed or destroyed.
    EXPECT_EQ(CountOf(member::StringReferenceToClass.name), 2u);
    EXPECT_EQ(CountOf(member::AddNewItem.name), 1u);
    EXPECT_EQ(CountOf(member::DoNeuter.name), 0u);
    EXPECT_EQ(CountOf(member::ForceUpdateColorSets.name), 0u) << "six zeros change no region";
    EXPECT_EQ(CountOf(member::DestroyDino.name), 0u);
    EXPECT_THAT(InventoryOf("1001"), IsEmpty());
}

TEST_F(SpawnDino, KeepInWorldAndAsEggTogetherGiveAnEggAndNoItem)
{
    Run(kRaptorWord + " " + kHelmet + " 0 10 0 0 1 1 0");

    EXPECT_THAT(Creatures(), IsEmpty());
    ASSERT_THAT(InventoryOf("1001"), SizeIs(1));
    EXPECT_EQ(InventoryOf("1001")[0]->ClassPrivate->name, "PrimalItemConsumable_Egg_Raptor_Fertilized_C");
    EXPECT_THAT(Steps({"AddItemObject", "ForceDestroy", "Destroy", "AddNewItem", "StringReferenceToClass"}),
                ElementsAre(StartsWith("StringReferenceToClass(\"Blueprint'/Game/Items/Eggs/"),
                            "Alice.Inventory AddItemObject(PrimalItemConsumable_Egg_Raptor_Fertilized_C#3)",
                            "Raptor_Character_BP_C#2 ForceDestroy()"));
}

TEST_F(SpawnDino, ShortLinesNonNumericWordsAndNoPlayerDoNothing)
{
    ExpectNothing(kRaptorWord + " \"\" 0 10 0 0 1 0");        // nine words
    ExpectNothing(kRaptorWord + " \"\" 0 10 abc 0 1 0 0");    // imprint as letters
    ExpectNothing(kRaptorWord + " \"\" 0 10 0 0 1 0x1 0");    // as-egg not a number
    ExpectNothing(kRaptorWord + " \"\" 0 1.2.3 0 0 1 0 0");   // two points
    ExpectNothing(kRaptorWord + " \"\" 0 10 1e3 0 1 0 0");    // no exponents
    RunConsoleAs("server", "KV.SpawnDino " + kRaptorWord + " \"\" 0 10 0 0 1 0 0");
    EXPECT_THAT(Trail(), IsEmpty());

    // Ten words are enough; the creature keeps the sex the game gave it.
    Run(kRaptorWord + " \"\" 0 10 0 0 1 0 0");
    sim::Dino& raptor = OnlyCreature();
    EXPECT_TRUE(raptor.tamed);
    EXPECT_FALSE(raptor.Flag(sim::kIsFemaleBit)) << "the game's first creature is male";
    EXPECT_EQ(CountOf(member::AddNewItem.name), 0u) << "two double quotes mean no item";
}

TEST_F(SpawnDino, ConversionErrorsEndTheCommandSilentlyBeforeAnythingIsSpawned)
{
    ExpectNothing(kRaptorWord + " \"\" 0 10 - 0 1 0 0");                    // lone sign as imprint
    ExpectNothing(kRaptorWord + " \"\" .5 10 0 0 1 0 0");                   // no digit before the point
    ExpectNothing(kRaptorWord + " \"\" 0 99999999999 0 0 1 0 0");           // level beyond 32 bits
    ExpectNothing(kRaptorWord + " \"\" 0 10 1" + std::string(40, '0') + " 0 1 0 0");  // beyond a float
    ExpectNothing(kRaptorWord + " \"\" 0 10 0 0 1 0 1,+,3");               // a colour part that is a lone sign
}

TEST_F(SpawnDino, BlanksAndQuotesAddNoWords)
{
    // Runs of blanks and a trailing blank, as a line rebuilt by a targeted form.
    RunConsoleAs("1001", "KV.SpawnDino   \"" + kRaptorWord + "\"    \"\"  0  12 0   0 1 0   0 ");
    EXPECT_THAT(TrailOf(member::SpawnActor.name),
                ElementsAre("Alice " + std::string(member::SpawnActor.name) + " <- (\"" + kRaptorWord +
                            "\", 100, 0, 0, true) -> Raptor_Character_BP_C#2"));
    EXPECT_EQ(OnlyCreature().AbsoluteBaseLevel, 12);
}

TEST_F(SpawnDino, FlagsAreTrueOnlyForAnIntegerPartOfOne)
{
    Run(kRaptorWord + " \"\" 0 10 0 2 1 0 0");
    Run(kRaptorWord + " \"\" 0 10 0 1.9 1.0 0 0");
    Run(kRaptorWord + " \"\" 0 10 0 +1 01 0 0");
    const std::vector<sim::Dino*> creatures = Creatures();
    ASSERT_THAT(creatures, SizeIs(3)) << "keep-in-world 1.0 and 01 count as 1";
    EXPECT_FALSE(creatures[0]->Flag(sim::kNeuteredBit));
    EXPECT_TRUE(creatures[1]->Flag(sim::kNeuteredBit));
    EXPECT_TRUE(creatures[2]->Flag(sim::kNeuteredBit));
}

TEST_F(SpawnDino, ColourPartsSetTheirRegionByPosition)
{
    Run(kRaptorWord + " \"\" 0 10 0 0 1 0 5,x,7");
    Run(kRaptorWord + " \"\" 0 10 0 0 1 0 ,");
    Run(kRaptorWord + " \"\" 0 10 0 0 1 0 -3,,2.9");
    // More than six parts: the extra ones are ignored, never written past region 5.
    Run(kRaptorWord + " \"\" 0 10 0 0 1 0 1,2,3,4,5,6,7,8");
    EXPECT_THAT(Steps({"ForceUpdateColorSets_Implementation"}),
                ElementsAre("Raptor_Character_BP_C#2 ForceUpdateColorSets_Implementation(0, 5)",
                            "Raptor_Character_BP_C#2 ForceUpdateColorSets_Implementation(2, 7)",
                            "Raptor_Character_BP_C#4 ForceUpdateColorSets_Implementation(0, -3)",
                            "Raptor_Character_BP_C#4 ForceUpdateColorSets_Implementation(1, 2)",
                            "Raptor_Character_BP_C#5 ForceUpdateColorSets_Implementation(0, 1)",
                            "Raptor_Character_BP_C#5 ForceUpdateColorSets_Implementation(1, 2)",
                            "Raptor_Character_BP_C#5 ForceUpdateColorSets_Implementation(2, 3)",
                            "Raptor_Character_BP_C#5 ForceUpdateColorSets_Implementation(3, 4)",
                            "Raptor_Character_BP_C#5 ForceUpdateColorSets_Implementation(4, 5)",
                            "Raptor_Character_BP_C#5 ForceUpdateColorSets_Implementation(5, 6)"));
    EXPECT_EQ(Creatures()[0]->colors, (std::array<int, 6>{5, 0, 7, 0, 0, 0}));
}

TEST_F(SpawnDino, SexWordIsComparedExactly)
{
    // The game alternates male, female, ... for gendered creatures; each word is
    // put where the game would have given the other sex.
    for (const char* sex : {"R", "f", "F", "r", "M"})
        Run(kRaptorWord + " \"\" 0 10 0 0 1 0 0 " + sex);
    Run(std::string(kJellyfish) + " \"\" 0 10 0 0 1 0 0 F");

    std::vector<std::string> sexes;
    for (const sim::Dino* creature : Creatures())
        sexes.push_back(!creature->Flag(sim::kUsesGenderBit) ? "none"
                        : creature->Flag(sim::kIsFemaleBit)  ? "female"
                                                              : "male");
    EXPECT_THAT(sexes, ElementsAre("male", "male", "female", "male", "male", "none"));
    EXPECT_EQ(NewestCreature().flags, 0u) << "nothing written on a creature without gender";
}

TEST_F(SpawnDino, DeliveryThatReachesNoInventoryLeavesTheCreatureTamedInTheWorld)
{
    const std::string line = kRaptorWord + " \"\" 0 10 0 0 0 0 0";
    Run(line, "1005");  // Erin's inventory is full
    Run(line, "1004");  // Dave has none
    Run(std::string(kJellyfish) + " \"\" 0 10 0 0 0 1 0");  // no egg for a jellyfish

    const std::vector<sim::Dino*> creatures = Creatures();
    ASSERT_THAT(creatures, SizeIs(3));
    for (const sim::Dino* creature : creatures) {
        EXPECT_TRUE(creature->tamed) << creature->label;
        EXPECT_FALSE(creature->destroyed) << creature->label;
    }
    EXPECT_EQ(creatures[0]->TamingTeamID, 50005);
    EXPECT_EQ(creatures[1]->TamingTeamID, 50004);
    EXPECT_EQ(CountOf(member::DestroyDino.name) + CountOf(member::ForceDestroy.name), 0u);
    EXPECT_THAT(Steps({"AddItemObject"}), ElementsAre(StartsWith("Erin.Inventory AddItemObject(")));
    EXPECT_THAT(InventoryOf("1005"), SizeIs(1)) << "only the stone";

    // An egg that reaches no inventory is taken out of the world again, and the
    // creature stays.
    Run(kRaptorWord + " \"\" 0 10 0 0 0 1 0", "1004");
    Run(kRaptorWord + " \"\" 0 10 0 0 0 1 0", "1005");
    EXPECT_THAT(Creatures(), SizeIs(5));
    EXPECT_THAT(Steps({"ForceDestroy"}), ElementsAre(StartsWith("DroppedItemGeneric_C#"), StartsWith("DroppedItemGeneric_C#")));
    EXPECT_THAT(InventoryOf("1005"), SizeIs(1)) << "only the stone";
}

TEST_F(SpawnDino, CryopodThatIsNoItemLeavesTheCreatureInTheWorld)
{
    UseConfig(R"({"CryopodBP": ")" + std::string(kStorageBox) + R"("})");
    Run(kRaptorWord + " \"\" 0 10 0 0 0 0 0");
    EXPECT_TRUE(OnlyCreature().tamed);
    EXPECT_THAT(Steps({"AddNewItem"}), ElementsAre(StartsWith("AddNewItem(Class:StorageBox_Small_C, null,")));
    EXPECT_EQ(CountOf(member::DestroyDino.name), 0u);
    EXPECT_THAT(InventoryOf("1001"), IsEmpty());
}

TEST_F(SpawnDino, WrongTypedConfigValueIsLoggedAndEndsTheRunAtItsRead)
{
    UseConfig(R"({"CryoLimitTime": "yes"})");
    Run(kRaptorWord + " \"\" 0 10 0 0 0 0 0");

    EXPECT_EQ(Escaped(), 0);
    EXPECT_THAT(LogLines(), ElementsAre(EndsWith("[Kestrova][error] [json.exception.type_error.302] type must be "
                                                 "boolean, but is string")));
    // The cryopod was made, but the run ended before anything was put in it.
    EXPECT_TRUE(OnlyCreature().tamed);
    EXPECT_EQ(CountOf(member::AddNewItem.name), 1u);
    EXPECT_EQ(CountOf(member::SetCustomItemData.name), 0u);
    EXPECT_EQ(CountOf(member::DestroyDino.name), 0u);
    EXPECT_THAT(InventoryOf("1001"), IsEmpty());
}

}  // namespace
}  // namespace kestrova::test
