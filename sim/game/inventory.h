// An inventory component: the items an actor carries.
#pragma once

#include <vector>

#include "object.h"

namespace sim {

class Inventory : public Object {
public:
    Inventory(Class* cls, std::string label, Object* owner, int maxSlots)
        : Object(cls, std::move(label)), owner(owner), maxSlots(maxSlots)
    {
    }

    Object* owner = nullptr;
    int maxSlots = 0;
    std::vector<Object*> items;  // in the order they were added
};

}  // namespace sim
