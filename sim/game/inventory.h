// An inventory component: the items an actor carries, up to its slots.
#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "object.h"

namespace sim {

class Game;
class Item;

class Inventory : public Object {
public:
    Inventory(Class* cls, std::string objectLabel, Object* holder, int slots)
        : Object(cls, std::move(objectLabel)), owner(holder), maxSlots(slots)
    {
    }

    bool Full() const { return static_cast<int>(items.size()) >= maxSlots; }
    // Takes `item`, which must be in no inventory yet; false when full.
    bool Take(Item& item);
    // Lets `item` go, if it is here.
    void Release(Item& item);

    Object* owner = nullptr;
    int maxSlots = 0;
    std::vector<Item*> items;  // in the order they were added
};

// Registers UPrimalInventoryComponent.AddItemObject(UPrimalItem*).
void RegisterInventoryMembers();

// Fills the players' inventories with the items the world file gives them
// ("items": blueprint paths of catalogue items, per player).
void GiveStartingItems(Game& game, const nlohmann::json& world);

}  // namespace sim
