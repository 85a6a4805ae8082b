// An item lying in the world, as the game drops a fertilized egg.
#pragma once

#include "world.h"

namespace sim {

class DroppedItem : public Actor {
public:
    using Actor::Actor;
    Object* MyItem = nullptr;  // ADroppedItem.MyItem
};

}  // namespace sim
