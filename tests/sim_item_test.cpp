// The simulated game's items and inventories, reached by member name as the
// plugin reaches them.
#include <cstring>

#include "game/item.h"
#include "host/game.h"
#include "host/items.h"
#include "support/catalogue_references.h"
#include "support/game_fixture.h"

namespace kestrova::test {
namespace {


class SimItemTest : public GameTest {
protected:
    UPrimalInventoryComponent* InventoryOf(std::string_view player)
    {
        return Call(member::PlayerInventory, Controller(player));
    }

    UPrimalItem* NewItem(const char* reference, UPrimalInventoryComponent* inventory, ItemForm form = ItemForm::Item,
                         UClass* second = nullptr)
    {
        return AddNewItem(ClassFromReference(reference), inventory, false, 300.0f, form, second);
    }

    // The record's bytes at `offset`, read as the game lays them out.
    template <typename T>
    static T RecordValue(UPrimalItem* item, int stat, std::size_t offset)
    {
        T value;
        const auto* bytes = reinterpret_cast<const unsigned char*>(FieldOf(member::ItemStatInfos, item));
        std::memcpy(&value, bytes + 36 * stat + offset, sizeof value);
        return value;
    }
};

using SimItemDeathTest = SimItemTest;

TEST_F(SimItemTest, NewItemsCarryTheCatalogueRecordsAndHowTheyWereMade)
{
    UPrimalItem* helmet = NewItem(kHelmet, InventoryOf("1001"), ItemForm::Blueprint, ClassFromReference(kSword));
    ASSERT_NE(helmet, nullptr);
    const sim::Item& made = *sim::As<sim::Item>(helmet, "test");
    EXPECT_EQ(made.askedQuality, 300.0f);
    EXPECT_FALSE(made.forcedItem);
    EXPECT_TRUE(made.forcedBlueprint);
    EXPECT_EQ(made.secondClass->name, "PrimalItem_WeaponSword_C");
    EXPECT_EQ(Player("1001").inventory->items, (std::vector<sim::Item*>{const_cast<sim::Item*>(&made)}));

    EXPECT_EQ(FieldOf(member::ItemDurability, helmet), 128.0f);
    EXPECT_EQ(FieldOf(member::ItemQualityIndex, helmet), 0);
    // Record k at byte 36 k: flags at 0, a at 12, b at 20, base at 24.
    EXPECT_EQ(RecordValue<std::uint32_t>(helmet, 2, 0), 5u);
    EXPECT_EQ(RecordValue<float>(helmet, 2, 12), 0.5f);
    EXPECT_EQ(RecordValue<float>(helmet, 2, 20), 0.125f);
    EXPECT_EQ(RecordValue<float>(helmet, 2, 24), 28.0f);
    EXPECT_EQ(RecordValue<std::uint32_t>(helmet, 7, 0), 1u);
    EXPECT_EQ(RecordValue<std::uint32_t>(helmet, 4, 0), 0u);
    UPrimalItem* sword = NewItem(kSword, nullptr);
    EXPECT_EQ(RecordValue<std::uint32_t>(sword, 1, 0), 0u);
    EXPECT_EQ(RecordValue<float>(sword, 1, 24), 64.0f);

    // Not an item class, or no class: nothing is made.
    EXPECT_EQ(NewItem(kRaptor, InventoryOf("1001")), nullptr);
    EXPECT_EQ(AddNewItem(nullptr, InventoryOf("1001"), false, 0.0f, ItemForm::GameChoice, nullptr), nullptr);
}

TEST_F(SimItemTest, FullInventoriesRefuse)
{
    EXPECT_EQ(NewItem(kStone, InventoryOf("1005")), nullptr);  // Erin's one slot holds a stone
    EXPECT_NE(NewItem(kStone, InventoryOf("1003")), nullptr);
    EXPECT_NE(NewItem(kStone, InventoryOf("1003")), nullptr);
    EXPECT_EQ(NewItem(kStone, InventoryOf("1003")), nullptr);  // Carol's two slots are taken

    UPrimalItem* loose = NewItem(kStone, nullptr);
    EXPECT_EQ(Call(member::AddItemObject, InventoryOf("1003"), loose), nullptr);
    EXPECT_EQ(Call(member::AddItemObject, InventoryOf("1001"), loose), loose);
    EXPECT_EQ(Player("1001").inventory->items.size(), 1u);
}

TEST_F(SimItemDeathTest, AddingAnItemTwiceStops)
{
    UPrimalItem* stone = NewItem(kStone, InventoryOf("1001"));
    EXPECT_DEATH(Call(member::AddItemObject, InventoryOf("1002"), stone),
                 "is already in Alice.Inventory");
}

TEST_F(SimItemTest, StatModifierDurabilityAndBytesFollowTheItem)
{
    UPrimalItem* helmet = NewItem(kHelmet, nullptr);
    auto* values = FieldOf(member::ItemStatValues, helmet);
    values[2] = 10;
    // Base 28 + 100 (bit 2), raised by 10 x 0.5 x 0.125 of itself.
    EXPECT_FLOAT_EQ(Call(member::GetItemStatModifier, helmet, EPrimalItemStat::MaxDurability),
                    208.0f);
    Call(member::AddItemDurability, helmet, 3472.0f);
    EXPECT_EQ(FieldOf(member::ItemDurability, helmet), 3600.0f);
    Call(member::UpdatedItem, helmet, true, false);
    EXPECT_EQ(sim::As<sim::Item>(helmet, "test")->updates, 1);

    FieldOf(member::ItemQualityIndex, helmet) = 44;
    TArray<uint8> bytes;
    Call(member::GetItemBytes, helmet,
                               bytes);
    const std::string name = "PrimalItemArmor_MetalHelmet_C";
    ASSERT_EQ(bytes.Num(), static_cast<int>(name.size() + 2 + 16 + 8));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + name.size()), name);
    EXPECT_EQ(bytes[static_cast<int>(name.size()) + 1], 44);
    EXPECT_EQ(bytes[static_cast<int>(name.size()) + 2 + 4], 10);  // stat 2, low byte
    const auto record = sim::DecodeItem(bytes.GetData(), static_cast<std::size_t>(bytes.Num()));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->className, name);
    EXPECT_EQ(record->stats[2], 10);
    EXPECT_EQ(record->durability, 3600.0f);
}

TEST_F(SimItemTest, CustomDataIsCopiedDeepAndHeldByTheItem)
{
    UPrimalItem* cryopod = NewItem(
        "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'",
        nullptr);
    {
        FCustomItemData data;
        data.DataName = MakeName("Dino", FNAME_Add);
        data.Strings.Add(FString("FEMALE"));
        TArray<uint8> bytes;
        bytes.Add(7);
        data.ByteArrays.Add(bytes);
        Call(member::SetCustomItemData, cryopod, data);
    }
    const sim::Item& item = *sim::As<sim::Item>(cryopod, "test");
    ASSERT_EQ(item.customData.Strings.Num(), 1);
    EXPECT_EQ(item.customData.Strings[0].View(), WTEXT("FEMALE"));
    EXPECT_EQ(item.customData.ByteArrays[0][0], 7);
    EXPECT_EQ(HeldBlocks(), 4);  // two lists, a string, a byte array
    EXPECT_EQ(LiveBlocks(), 0);
    EXPECT_EQ(Journal().CallsTo("UPrimalItem.SetCustomItemData(FCustomItemData&)").at(0).args.at(0),
              "Dino{1 strings, 0 floats, 0 classes, 0 names, 1 byte arrays, 0 doubles}");
}

TEST_F(SimItemTest, InventoryConsoleShowsStatsAndFormFlags)
{
    UPrimalItem* helmet = NewItem(kHelmet, InventoryOf("1003"), ItemForm::Item);
    FieldOf(member::ItemQualityIndex, helmet) = 44;
    (FieldOf(member::ItemStatValues, helmet))[7] = 3;
    EXPECT_EQ(RunConsole("/inventory 1003"),
              "Carol (1003): 1 of 2 slots\n"
              "  1. PrimalItemArmor_MetalHelmet_C#2  quality 300 (index 44)  durability 128  "
              "stats 0:0 1:0 2:0 3:0 4:0 5:0 6:0 7:3  made as item  second class none\n");
    EXPECT_EQ(RunConsole("/inventory 9999"), "No player with id 9999\n");
}

}  // namespace
}  // namespace kestrova::test
