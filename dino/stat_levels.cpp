#include "dino/stat_levels.h"

#include <algorithm>

#include "host/game.h"
#include "host/members.h"

namespace kestrova {
namespace {

constexpr int kStatCount = EPrimalCharacterStatusValue::MAX;

int WritePointsAndLevel(UPrimalCharacterStatusComponent* status, const std::vector<std::int32_t>& levels)
{
    uint8(&points)[kStatCount] = FieldOf(member::LevelUpPointsApplied, status);
    int sum = 0;
    for (int i = 0; i < kStatCount; ++i) {
        const int clamped = std::clamp(levels[static_cast<std::size_t>(i)], 0, 255);
        points[i] = static_cast<uint8>(clamped);
        sum += clamped;
    }
    FieldOf(member::BaseCharacterLevel, status) = 1 + sum;
    return 1 + sum;
}

void ForceNetUpdate(APrimalDinoCharacter* creature)
{
    Call(member::ForceNetUpdate, creature, false, true, false);
}

// The parameter block of NetSyncMaxStatusValues: the maxima, then the base-level maxima.
struct MaxStatusValuesParams {
    TArray<float> maxValues;
    TArray<float> baseLevelMaxValues;
};
static_assert(sizeof(MaxStatusValuesParams) == 32);

TArray<float> CopyStats(const float (&values)[kStatCount])
{
    TArray<float> copy;
    copy.Reserve(kStatCount);
    for (int i = 0; i < kStatCount; ++i)
        copy.Add(values[i]);
    return copy;
}

}  // namespace

// The list is taken by value: the operation owns it and releases it on return.
std::optional<int> ApplyStatLevels(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                                   std::vector<std::int32_t> levels)  // NOLINT(performance-unnecessary-value-param)
{
    UPrimalCharacterStatusComponent* status = FieldOf(member::MyCharacterStatusComponent, creature);
    if (status == nullptr)
        return std::nullopt;

    std::optional<int> level;
    if (levels.size() == kStatCount)
        level = WritePointsAndLevel(status, levels);

    Call(member::RescaleAllStats, status);
    ForceNetUpdate(creature);

    if (UFunction* notify = FindFunction(creature, "ClientNotifyLevelUp"))
        Call(member::ActorProcessEvent, creature, notify, nullptr);

    // The controller's notification takes an empty string as its parameter block;
    // whatever the game leaves in it is freed with the string.
    FString controllerParams;
    if (UFunction* notify = FindFunction(controller, "ClientNotifyLevelUp"))
        Call(member::ActorProcessEvent, controller, notify, &controllerParams);

    Call(member::CharacterUpdatedInventory, status, true);
    Call(member::ServerSyncReplicatedValues, status);

    if (UFunction* sync = FindFunction(status, "NetSyncMaxStatusValues")) {
        // The block takes the copies over: the game sees the same two arrays, and
        // no second copy of them is made only to be freed.
        MaxStatusValuesParams params{CopyStats(FieldOf(member::MaxStatusValues, status)),
                                     CopyStats(FieldOf(member::BaseLevelMaxStatusValues, status))};
        Call(member::ObjectProcessEvent, status, sync, &params);
    }

    Call(member::UpdateWeightStat, status, true);
    ForceNetUpdate(creature);
    return level;
}

}  // namespace kestrova
