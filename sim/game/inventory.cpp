#include "inventory.h"

#include <algorithm>

#include "dropped_item.h"
#include "game.h"
#include "item.h"
#include "thunk.h"

namespace sim {
namespace {

constexpr char kAddItemObject[] = "UPrimalInventoryComponent.AddItemObject(UPrimalItem*)";

// The item when taken, null when the inventory is full. An item that is already
// in an inventory is a fault of the caller: the game would hold it twice. An item
// lying in the world is picked up: the dropped item lets it go and leaves the world.
UPrimalItem* AddItemObject(Inventory* self, UPrimalItem* item)
{
    Item* typed = As<Item>(item, kAddItemObject);
    if (typed->inventory != nullptr)
        Fatal(fmt::format("{} is already in {}", typed->label, typed->inventory->label), kAddItemObject);
    if (!self->Take(*typed))
        return nullptr;
    if (DroppedItem* dropped = typed->droppedAs) {
        dropped->MyItem = nullptr;
        Game::Active().RemoveActor(*dropped);
        typed->droppedAs = nullptr;
    }
    return item;
}

}  // namespace

bool Inventory::Take(Item& item)
{
    if (Full())
        return false;
    items.push_back(&item);
    item.inventory = this;
    return true;
}

void Inventory::Release(Item& item)
{
    items.erase(std::remove(items.begin(), items.end(), &item), items.end());
    if (item.inventory == this)
        item.inventory = nullptr;
}

void RegisterInventoryMembers()
{
    RegisterMethod<"UPrimalInventoryComponent.AddItemObject(UPrimalItem*)", &AddItemObject>();
}

void GiveStartingItems(Game& game, const nlohmann::json& world)
{
    const nlohmann::json& players = ListAt(world, "players");
    for (std::size_t i = 0; i < players.size() && i < game.Players().size(); ++i) {
        const auto found = players[i].find("items");
        if (found == players[i].end())
            continue;
        const std::string where = fmt::format("players[{}].items", i);
        PlayerController& player = *game.Players()[i];
        if (!found->is_array())
            throw WorldError(fmt::format("{}: must be an array of item blueprints", where));
        for (const nlohmann::json& blueprint : *found) {
            const ItemEntry* entry = blueprint.is_string()
                                         ? game.GetCatalogue().Item(game.GetCatalogue().Find(
                                               ReferenceText(blueprint.get<std::string>())))
                                         : nullptr;
            if (entry == nullptr)
                throw WorldError(fmt::format("{}: {} is not an item of the catalogue", where, blueprint.dump()));
            if (player.inventory == nullptr || !player.inventory->Take(MakeItem(game, *entry)))
                throw WorldError(fmt::format("{}: more items than the inventory holds", where));
        }
    }
}

}  // namespace sim
