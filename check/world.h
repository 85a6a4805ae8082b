// What the checker may look up in a game world: the class a blueprint reference
// names and the player an id names. Without a world, neither is checked.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/text.h"

namespace kestrova::check {

struct ClassFacts {
    enum class Kind { None, Creature, Item, Other };

    Kind kind = Kind::None;
    std::string name;  // the class's name, such as Raptor_Character_BP_C
    // Creatures only.
    bool usesGender = true;
    bool hasStatusComponent = true;
    bool hasEggItem = false;
};

struct PlayerFacts {
    std::string name;  // the character's name
    bool hasInventory = false;
    int freeSlots = 0;  // items the inventory still takes
};

class World {
public:
    virtual ~World() = default;

    // The class that a blueprint reference, as the game receives it, names.
    virtual ClassFacts Class(std::string_view reference) const = 0;

    // The player whose id is exactly `id`, if there is one.
    virtual std::optional<PlayerFacts> Player(WideView id) const = 0;
};

}  // namespace kestrova::check
