#include "world.h"

#include "script.h"
#include "thunk.h"

namespace sim {
namespace {

UWorld* GetWorld(Actor* self) { return Handle<UWorld>(self->world); }

void ActorProcessEvent(Actor* self, UFunction* function, void* params)
{
    RunEvent(*self, function, params, "AActor.ProcessEvent(UFunction*,void*)");
}

}  // namespace

void RegisterWorldMembers()
{
    RegisterField<"UWorld.TimeSeconds", &World::TimeSeconds>();
    RegisterMethod<"AActor.GetWorld()", &GetWorld>();
    RegisterField<"UPrimalActor.TargetingTeam", &Actor::TargetingTeam>();
    RegisterMethod<"AActor.ProcessEvent(UFunction*,void*)", &ActorProcessEvent, &RecordEventArgs>();
}

}  // namespace sim
