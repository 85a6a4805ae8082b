// /classes: what the world's catalogue offers, with the reference to type for each.
#include "console.h"
#include "console_commands.h"
#include "game/game.h"

namespace sim {
namespace {

std::string ItemStats(const ItemEntry& item)
{
    std::string used;
    for (int k = 0; k < kItemStatCount; ++k)
        if ((item.stats[static_cast<std::size_t>(k)].Flags & 1u) != 0)
            used += (used.empty() ? "" : ",") + std::to_string(k);
    return used.empty() ? "no stats" : "stats " + used;
}

std::string CreatureTraits(const CreatureEntry& creature)
{
    std::string traits = creature.usesGender ? "gender" : "no gender";
    traits += creature.eggClass != nullptr ? ", egg " + creature.eggClass->name : ", no egg";
    if (!creature.statusComponent)
        traits += ", no status component";
    return traits;
}

}  // namespace

void ClassesCommand(Console& console, std::string_view)
{
    const Catalogue& catalogue = console.GetGame().GetCatalogue();
    std::ostream& out = console.Out();
    out << "Creatures:\n";
    for (const CreatureEntry& creature : catalogue.Creatures())
        out << fmt::format("  {}  ({})\n    {}\n", creature.cls->name, CreatureTraits(creature), creature.reference);
    out << "Items:\n";
    for (const ItemEntry& item : catalogue.Items())
        out << fmt::format("  {}  ({}, durability {})\n    {}\n", item.cls->name, ItemStats(item), item.durability,
                           item.reference);
    out << "Other actors:\n";
    for (const ActorEntry& actor : catalogue.Actors())
        out << fmt::format("  {}\n    {}\n", actor.cls->name, actor.reference);
}

}  // namespace sim
