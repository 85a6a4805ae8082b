// The world and the actors in it.
#pragma once

#include "object.h"

namespace sim {

class World : public Object {
public:
    using Object::Object;
    double TimeSeconds = 0;  // UWorld.TimeSeconds
};

// Every actor knows its world and its team.
class Actor : public Object {
public:
    Actor(Class* cls, std::string objectLabel, World* actorWorld)
        : Object(cls, std::move(objectLabel)), world(actorWorld)
    {}

    World* world = nullptr;
    int TargetingTeam = 0;  // UPrimalActor.TargetingTeam
};

// Registers UWorld.TimeSeconds, AActor.GetWorld(), UPrimalActor.TargetingTeam and
// AActor.ProcessEvent(UFunction*,void*).
void RegisterWorldMembers();

}  // namespace sim
