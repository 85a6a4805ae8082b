// Items: their quality, stats, durability, the record they carry, and how they
// were made.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "GameStructs.h"
#include "catalogue.h"
#include "inventory.h"

namespace sim {

class DroppedItem;

class Item : public Object {
public:
    Item(Class* cls, std::string objectLabel, const ItemEntry& entry);

    std::uint8_t ItemQualityIndex = 0;
    ItemStatInfo ItemStatInfos[kItemStatCount] = {};
    std::uint16_t ItemStatValues[kItemStatCount] = {};
    float ItemDurability = 0;
    FCustomItemData customData;  // what SetCustomItemData stored; DataName "None" before

    // The AddNewItem arguments the item was made with.
    float askedQuality = 0;
    bool forcedItem = false;       // 6th: made as the item itself, not its blueprint
    bool forcedBlueprint = false;  // 8th: made as a blueprint
    Class* secondClass = nullptr;

    int updates = 0;                  // UpdatedItem calls
    Inventory* inventory = nullptr;   // where it is; null when in none
    DroppedItem* droppedAs = nullptr; // the dropped item in the world that holds it, if any
    bool destroyed = false;

    // Empties the item and takes it out of its inventory.
    void Destroy();
    std::int64_t HeldBlocks() const;
};

// A new item of `entry`'s class, in no inventory.
Item& MakeItem(Game& game, const ItemEntry& entry);

// The value GetItemStatModifier gives for stat `index` (0..7): the record's base
// (plus 100 when its bit 2 is set) raised by value × a × b of itself.
float ItemStatModifier(const Item& item, int index);

// The bytes GetItemBytes writes: the class name, a 0, the quality index, the
// eight stat values (16 bits each), the quality the item was asked for and its
// durability (32-bit floats), all low byte first.
std::vector<std::uint8_t> ItemBytes(const Item& item);

struct ItemRecord {
    std::string className;
    std::uint8_t qualityIndex = 0;
    std::array<std::uint16_t, kItemStatCount> stats{};
    float askedQuality = 0;
    float durability = 0;
};
std::optional<ItemRecord> DecodeItem(const std::uint8_t* bytes, std::size_t size);

// Registers the UPrimalItem members and ADroppedItem.MyItem.
void RegisterItemMembers();

}  // namespace sim
