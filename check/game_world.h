// The checker's view of a simulated game: its catalogue and its players.
#pragma once

#include "check/world.h"

namespace sim {
class Game;
}

namespace kestrova::check {

class GameWorld final : public World {
public:
    explicit GameWorld(const sim::Game& game) : game_(game) {}

    ClassFacts Class(std::string_view reference) const override;
    std::optional<PlayerFacts> Player(WideView id) const override;

private:
    const sim::Game& game_;
};

}  // namespace kestrova::check
