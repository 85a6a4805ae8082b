// /inventory and /item: a player's items (or a creature's), and one item whole.
#include <charconv>

#include "console.h"
#include "console_commands.h"
#include "console_items.h"
#include "game/creature.h"
#include "game/game.h"
#include "game/item.h"

namespace sim {
namespace {

// The inventory of the player with that id, or of the creature in the world with
// that label; null with a reason in `why`.
const Inventory* FindInventory(Console& console, std::string_view who, std::string& owner, std::string& why)
{
    if (PlayerController* player = console.GetGame().FindPlayer(who)) {
        owner = Console::Describe(player);
        if (player->inventory == nullptr)
            why = owner + " has no inventory.";
        return player->inventory;
    }
    for (const Actor* actor : console.GetGame().Actors()) {
        if (const auto* dino = dynamic_cast<const Dino*>(actor); dino != nullptr && dino->label == who) {
            owner = dino->label;
            if (dino->MyInventoryComponent == nullptr)
                why = owner + " has no inventory.";
            return dino->MyInventoryComponent;
        }
    }
    why = fmt::format("No player with id {} and no creature {} in the world", who, who);
    return nullptr;
}

}  // namespace

void InventoryCommand(Console& console, std::string_view args)
{
    PlayerController* player = console.Current();
    if (!args.empty() && (!console.FindIssuer(args, player))) {
        console.Out() << "No player with id " << args << "\n";
        return;
    }
    if (player == nullptr) {
        console.Out() << "Usage: /inventory ID (the server has no inventory)\n";
        return;
    }
    if (player->inventory == nullptr) {
        console.Out() << Console::Describe(player) << " has no inventory.\n";
        return;
    }
    ShowInventory(console.Out(), "", Console::Describe(player), *player->inventory);
}

void ItemCommand(Console& console, std::string_view args)
{
    const auto [who, numberText] = SplitFirstWord(args);
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
    if (who.empty() || error != std::errc() || end != numberText.data() + numberText.size() || number == 0) {
        console.Out() << "Usage: /item ID N (ID: a player's id or a creature's label; N counts from 1)\n";
        return;
    }
    std::string owner, why;
    const Inventory* inventory = FindInventory(console, who, owner, why);
    if (inventory == nullptr) {
        console.Out() << why << "\n";
        return;
    }
    if (number > inventory->items.size()) {
        console.Out() << fmt::format("{} holds {} items.\n", owner, inventory->items.size());
        return;
    }
    const Item& item = *inventory->items[number - 1];
    console.Out() << owner << ", item " << number << ":\n";
    ShowItem(console.Out(), "  ", number, item);
    ShowItemWhole(console.Out(), item);
}

}  // namespace sim
