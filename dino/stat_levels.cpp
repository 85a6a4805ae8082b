#include "dino/stat_levels.h"

#include <algorithm>

#include "host/game.h"
#include "host/members.h"

namespace kestrova {
namespace {

constexpr int kStatCount = EPrimalCharacterStatusValue::MAX;

void WritePointsAndLevel(UPrimalCharacterStatusComponent* status, const std::vector<std::int32_t>& levels)
{
    auto* points = &Field<uint8>(status, member::LevelUpPointsApplied);
    int sum = 0;
    for (int i = 0; i < kStatCount; ++i) {
        const int clamped = std::clamp(levels[i], 0, 255);
        points[i] = static_cast<uint8>(clamped);
        sum += clamped;
    }
    Field<std::int32_t>(status, member::BaseCharacterLevel) = 1 + sum;
}

void ForceNetUpdate(APrimalDinoCharacter* creature)
{
    Call<void, bool, bool, bool>(member::ForceNetUpdate, creature, false, true, false);
}

// The parameter block of NetSyncMaxStatusValues: the maxima, then the base-level maxima.
struct MaxStatusValuesParams {
    TArray<float> maxValues;
    TArray<float> baseLevelMaxValues;
};
static_assert(sizeof(MaxStatusValuesParams) == 32);

TArray<float> CopyStats(UPrimalCharacterStatusComponent* status, const char* field)
{
    const float* values = &Field<float>(status, field);
    TArray<float> copy;
    for (int i = 0; i < kStatCount; ++i)
        copy.Add(values[i]);
    return copy;
}

}  // namespace

void ApplyStatLevels(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                     std::vector<std::int32_t> levels)
{
    auto* status = Field<UPrimalCharacterStatusComponent*>(creature, member::MyCharacterStatusComponent);
    if (status == nullptr)
        return;

    if (levels.size() == kStatCount)
        WritePointsAndLevel(status, levels);

    Call<void>(member::RescaleAllStats, status);
    ForceNetUpdate(creature);

    if (UFunction* notify = FindFunction(creature, "ClientNotifyLevelUp"))
        Call<void, UFunction*, void*>(member::ActorProcessEvent, creature, notify, nullptr);

    // The controller's notification takes an empty string as its parameter block;
    // whatever the game leaves in it is freed with the string.
    FString controllerParams;
    if (UFunction* notify = FindFunction(controller, "ClientNotifyLevelUp"))
        Call<void, UFunction*, void*>(member::ActorProcessEvent, controller, notify, &controllerParams);

    Call<void, bool>(member::CharacterUpdatedInventory, status, true);
    Call<void>(member::ServerSyncReplicatedValues, status);

    if (UFunction* sync = FindFunction(status, "NetSyncMaxStatusValues")) {
        const TArray<float> maxValues = CopyStats(status, member::MaxStatusValues);
        const TArray<float> baseLevelMaxValues = CopyStats(status, member::BaseLevelMaxStatusValues);
        MaxStatusValuesParams params{maxValues, baseLevelMaxValues};
        Call<void, UFunction*, void*>(member::ObjectProcessEvent, status, sync, &params);
    }

    Call<void, bool>(member::UpdateWeightStat, status, true);
    ForceNetUpdate(creature);
}

}  // namespace kestrova
