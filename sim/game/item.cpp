#include "item.h"

#include <bit>
#include <cstring>

#include "dropped_item.h"
#include "game.h"
#include "held_blocks.h"
#include "thunk.h"

namespace sim {
namespace {

constexpr std::uint32_t kAddHundredToBase = 1u << 2;

UPrimalItem* AddNewItem(TSubclassOf<UPrimalItem> itemClass, UPrimalInventoryComponent* inventory, bool, bool,
                        float quality, bool forceItem, int, bool forceBlueprint, float, bool, TSubclassOf<UPrimalItem> secondClass,
                        float, bool, bool, bool)
{
    constexpr std::string_view kName = "UPrimalItem.AddNewItem";
    Game& game = Game::Active();
    const ItemEntry* entry = game.GetCatalogue().Item(AsOrNull<Class>(itemClass.uClass, kName));
    Inventory* into = AsOrNull<Inventory>(inventory, kName);
    if (entry == nullptr || (into != nullptr && into->Full()))
        return nullptr;
    Item& item = MakeItem(game, *entry);
    item.askedQuality = quality;
    item.forcedItem = forceItem;
    item.forcedBlueprint = forceBlueprint;
    item.secondClass = AsOrNull<Class>(secondClass.uClass, kName);
    if (into != nullptr)
        into->Take(item);
    return Handle<UPrimalItem>(&item);
}

UClass* GetPrivateStaticClass() { return Handle<UClass>(Game::Active().FindClass("UPrimalItem")); }

void AddItemDurability(Item* self, float amount) { self->ItemDurability += amount; }

// The game keeps its own deep copy of the record.
void SetCustomItemData(Item* self, FCustomItemData& data) { self->customData = data; }

void UpdatedItem(Item* self, bool, bool) { ++self->updates; }

void GetItemBytes(Item* self, TArray<uint8>& bytes)
{
    const std::vector<std::uint8_t> written = ItemBytes(*self);
    bytes = TArray<uint8>();
    bytes.Append(written.data(), static_cast<int32>(written.size()));
}

float GetItemStatModifier(Item* self, EPrimalItemStat::Type stat)
{
    if (stat < 0 || stat >= kItemStatCount)
        Fatal("item stat index out of range", "UPrimalItem.GetItemStatModifier(EPrimalItemStat::Type)");
    return ItemStatModifier(*self, stat);
}

}  // namespace

Item::Item(Class* cls, std::string objectLabel, const ItemEntry& entry) : Object(cls, std::move(objectLabel))
{
    std::copy(entry.stats.begin(), entry.stats.end(), ItemStatInfos);
    ItemDurability = entry.durability;
}

void Item::Destroy()
{
    if (inventory != nullptr)
        inventory->Release(*this);
    customData = FCustomItemData();
    destroyed = true;
}

std::int64_t Item::HeldBlocks() const { return BlocksOf(customData); }

Item& MakeItem(Game& game, const ItemEntry& entry)
{
    return game.Make<Item>(entry.cls, fmt::format("{}#{}", entry.cls->name, game.NextNumber()), entry);
}

float ItemStatModifier(const Item& item, int index)
{
    const ItemStatInfo& info = item.ItemStatInfos[index];
    const float base = info.Base + ((info.Flags & kAddHundredToBase) != 0 ? 100.0f : 0.0f);
    return base * (1.0f + static_cast<float>(item.ItemStatValues[index]) * info.FactorA * info.FactorB);
}

std::vector<std::uint8_t> ItemBytes(const Item& item)
{
    const std::string& name = item.ClassPrivate->name;
    std::vector<std::uint8_t> bytes(name.begin(), name.end());
    bytes.push_back(0);
    bytes.push_back(item.ItemQualityIndex);
    for (const std::uint16_t value : item.ItemStatValues) {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    for (const float value : {item.askedQuality, item.ItemDurability}) {
        const auto word = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
    return bytes;
}

std::optional<ItemRecord> DecodeItem(const std::uint8_t* bytes, std::size_t size)
{
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(bytes, 0, size));
    if (end == nullptr)
        return std::nullopt;
    std::size_t at = static_cast<std::size_t>(end - bytes) + 1;
    if (size - at != 1 + 2 * kItemStatCount + 8)
        return std::nullopt;
    ItemRecord record;
    record.className.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(end - bytes));
    record.qualityIndex = bytes[at++];
    for (auto& stat : record.stats) {
        stat = static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
        at += 2;
    }
    for (float* value : {&record.askedQuality, &record.durability}) {
        const std::uint32_t word = std::uint32_t{bytes[at]} | (std::uint32_t{bytes[at + 1]} << 8) |
                                   (std::uint32_t{bytes[at + 2]} << 16) | (std::uint32_t{bytes[at + 3]} << 24);
        *value = std::bit_cast<float>(word);
        at += 4;
    }
    return record;
}

void RegisterItemMembers()
{
    RegisterStatic<"UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,"
                   "int,bool,float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool)",
                   &AddNewItem>();
    RegisterStatic<"UPrimalItem.GetPrivateStaticClass()", &GetPrivateStaticClass>();
    RegisterField<"UPrimalItem.ItemQualityIndex", &Item::ItemQualityIndex>();
    RegisterField<"UPrimalItem.ItemStatInfos", &Item::ItemStatInfos>();
    RegisterField<"UPrimalItem.ItemStatValues", &Item::ItemStatValues>();
    RegisterField<"UPrimalItem.ItemDurability", &Item::ItemDurability>();
    RegisterMethod<"UPrimalItem.AddItemDurability(float)", &AddItemDurability>();
    RegisterMethod<"UPrimalItem.SetCustomItemData(FCustomItemData&)", &SetCustomItemData>();
    RegisterMethod<"UPrimalItem.UpdatedItem(bool,bool)", &UpdatedItem>();
    RegisterMethod<"UPrimalItem.GetItemBytes(TArray<unsignedchar,TSizedDefaultAllocator<32>>&)", &GetItemBytes>();
    RegisterMethod<"UPrimalItem.GetItemStatModifier(EPrimalItemStat::Type)", &GetItemStatModifier>();
    RegisterField<"ADroppedItem.MyItem", &DroppedItem::MyItem, UPrimalItem*>();
}

}  // namespace sim
