#include "check/game_world.h"

#include "game/game.h"

namespace kestrova::check {

// The game receives a reference as narrow text widened unit by unit, and looks it
// up as UTF-8; narrow text is ASCII and '?', so it is its own UTF-8.
ClassFacts GameWorld::Class(std::string_view reference) const
{
    const sim::Catalogue& catalogue = game_.GetCatalogue();
    const sim::Class* cls = catalogue.Find(reference);
    if (cls == nullptr)
        return {};
    ClassFacts facts;
    facts.name = cls->name;
    if (const sim::CreatureEntry* creature = catalogue.Creature(cls)) {
        facts.kind = ClassFacts::Kind::Creature;
        facts.usesGender = creature->usesGender;
        facts.hasStatusComponent = creature->statusComponent;
        facts.hasEggItem = creature->eggClass != nullptr;
    } else {
        facts.kind = catalogue.Item(cls) != nullptr ? ClassFacts::Kind::Item : ClassFacts::Kind::Other;
    }
    return facts;
}

std::optional<PlayerFacts> GameWorld::Player(WideView id) const
{
    const sim::PlayerController* player = game_.FindPlayer(sim::WideView(id.data(), id.size()));
    if (player == nullptr)
        return std::nullopt;
    PlayerFacts facts;
    facts.name = sim::ToUtf8(player->name);
    facts.hasInventory = player->inventory != nullptr;
    if (player->inventory != nullptr)
        facts.freeSlots = std::max(0, player->inventory->maxSlots - static_cast<int>(player->inventory->items.size()));
    return facts;
}

}  // namespace kestrova::check
