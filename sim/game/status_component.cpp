#include "status_component.h"

#include "thunk.h"

namespace sim {
namespace {

constexpr char kRecoveryRate[] = "UPrimalCharacterStatusComponent.GetStatusValueRecoveryRate(EPrimalCharacterStatusValue::Type)";

void RescaleAllStats(StatusComponent* self) { self->Rescale(); }

void SetAllStatsToMaximum(StatusComponent* self)
{
    std::copy(std::begin(self->MaxStatusValues), std::end(self->MaxStatusValues), std::begin(self->CurrentStatusValues));
}

// Notifications the game sends on to clients; the journal is what they leave here.
void CharacterUpdatedInventory(StatusComponent*, bool) {}
void ServerSyncReplicatedValues(StatusComponent*) {}
void UpdateWeightStat(StatusComponent*, bool) {}

// A hundredth of the maximum per second.
float GetStatusValueRecoveryRate(StatusComponent* self, EPrimalCharacterStatusValue::Type type)
{
    if (type < 0 || type >= kStatusValueCount)
        Fatal("status value index out of range", kRecoveryRate);
    return self->MaxStatusValues[type] / 100.0f;
}

struct MaxStatusValuesParams {
    TArray<float> maxValues;
    TArray<float> baseLevelMaxValues;
};
static_assert(sizeof(MaxStatusValuesParams) == 32);

}  // namespace

StatusComponent::StatusComponent(Class* cls, std::string objectLabel,
                                 const std::array<float, kStatusValueCount>& baseValues)
    : Object(cls, std::move(objectLabel))
{
    std::copy(baseValues.begin(), baseValues.end(), BaseLevelMaxStatusValues);
    Rescale();
    std::copy(std::begin(MaxStatusValues), std::end(MaxStatusValues), CurrentStatusValues);
}

void StatusComponent::Rescale()
{
    for (int i = 0; i < kStatusValueCount; ++i) {
        const int points = NumberOfLevelUpPointsApplied[i] + NumberOfLevelUpPointsAppliedTamed[i];
        MaxStatusValues[i] = BaseLevelMaxStatusValues[i] * (1.0f + 0.1f * static_cast<float>(points));
    }
}

void OnNetSyncMaxStatusValues(Object& target, void* params)
{
    auto* status = dynamic_cast<StatusComponent*>(&target);
    if (status == nullptr || params == nullptr)
        Fatal("needs a status component and a parameter block", "NetSyncMaxStatusValues");
    const auto* block = static_cast<const MaxStatusValuesParams*>(params);
    status->syncedMaxValues.assign(block->maxValues.begin(), block->maxValues.end());
    status->syncedBaseLevelMaxValues.assign(block->baseLevelMaxValues.begin(), block->baseLevelMaxValues.end());
}

void RegisterStatusComponentMembers()
{
    using S = StatusComponent;
    RegisterField<"UPrimalCharacterStatusComponent.CurrentStatusValues", &S::CurrentStatusValues>();
    RegisterField<"UPrimalCharacterStatusComponent.MaxStatusValues", &S::MaxStatusValues>();
    RegisterField<"UPrimalCharacterStatusComponent.BaseLevelMaxStatusValues", &S::BaseLevelMaxStatusValues>();
    RegisterField<"UPrimalCharacterStatusComponent.NumberOfLevelUpPointsApplied", &S::NumberOfLevelUpPointsApplied>();
    RegisterField<"UPrimalCharacterStatusComponent.NumberOfLevelUpPointsAppliedTamed",
                  &S::NumberOfLevelUpPointsAppliedTamed>();
    RegisterField<"UPrimalCharacterStatusComponent.NumberOfMutationsAppliedTamed", &S::NumberOfMutationsAppliedTamed>();
    RegisterField<"UPrimalCharacterStatusComponent.BaseCharacterLevel", &S::BaseCharacterLevel>();
    RegisterField<"UPrimalCharacterStatusComponent.DinoImprintingQuality", &S::DinoImprintingQuality>();
    RegisterMethod<"UPrimalCharacterStatusComponent.RescaleAllStats()", &RescaleAllStats>();
    RegisterMethod<"UPrimalCharacterStatusComponent.SetAllStatsToMaximum()", &SetAllStatsToMaximum>();
    RegisterMethod<"UPrimalCharacterStatusComponent.CharacterUpdatedInventory(bool)", &CharacterUpdatedInventory>();
    RegisterMethod<"UPrimalCharacterStatusComponent.ServerSyncReplicatedValues()", &ServerSyncReplicatedValues>();
    RegisterMethod<"UPrimalCharacterStatusComponent.UpdateWeightStat(bool)", &UpdateWeightStat>();
    RegisterMethod<"UPrimalCharacterStatusComponent.GetStatusValueRecoveryRate(EPrimalCharacterStatusValue::Type)",
                   &GetStatusValueRecoveryRate>();
}

}  // namespace sim
