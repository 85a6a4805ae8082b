// A creature's status component: its twelve status values, the points that
// raise them, and what the last max-value sync sent.
#pragma once

#include <cstdint>
#include <vector>

#include "catalogue.h"
#include "object.h"

namespace sim {

class StatusComponent : public Object {
public:
    StatusComponent(Class* cls, std::string objectLabel, const std::array<float, kStatusValueCount>& baseValues);

    float CurrentStatusValues[kStatusValueCount] = {};
    float MaxStatusValues[kStatusValueCount] = {};
    float BaseLevelMaxStatusValues[kStatusValueCount] = {};
    std::uint8_t NumberOfLevelUpPointsApplied[kStatusValueCount] = {};
    std::uint8_t NumberOfLevelUpPointsAppliedTamed[kStatusValueCount] = {};
    std::uint8_t NumberOfMutationsAppliedTamed[kStatusValueCount] = {};
    std::int32_t BaseCharacterLevel = 1;
    float DinoImprintingQuality = 0;

    // What the last "NetSyncMaxStatusValues" event carried; empty before one.
    std::vector<float> syncedMaxValues;
    std::vector<float> syncedBaseLevelMaxValues;

    // Each maximum is its base raised by a tenth for every point, wild or tamed.
    void Rescale();
};

// Registers the UPrimalCharacterStatusComponent members.
void RegisterStatusComponentMembers();

// What the game does on "NetSyncMaxStatusValues": records the two arrays of the
// 32-byte parameter block.
void OnNetSyncMaxStatusValues(Object& target, void* params);

}  // namespace sim
