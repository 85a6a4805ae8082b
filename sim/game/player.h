// Players: controllers, their player states and inventories.
#pragma once

#include <string>

#include "inventory.h"
#include "world.h"

namespace sim {

class PlayerState : public Actor {
public:
    using Actor::Actor;
};

class Controller : public Actor {
public:
    using Actor::Actor;
    Object* PlayerState = nullptr;  // AController.PlayerState
};

class PlayerController : public Controller {
public:
    using Controller::Controller;

    WideString id;      // what FindPlayerById matches, exactly
    WideString name;    // the character name
    WideString netId;   // the unique net id as text
    Inventory* inventory = nullptr;  // null when the player has none
};

// Registers the player controller members: character name, unique net id, the
// inventory getters and AController.PlayerState.
void RegisterPlayerMembers();

}  // namespace sim
