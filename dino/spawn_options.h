// What a creature command asks the spawn pipeline for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AsaApi.h"

namespace kestrova {

// Both creature commands name the creature's blueprint in word 1.
inline constexpr int kCreatureWord = 1;

struct DinoSpawnOptions {
    AShooterPlayerController* Controller = nullptr;  // never null
    std::string BlueprintPath;
    std::string InventoryItemPath;  // "" or two double quotes: no item
    std::int32_t InventoryItemQuality = 0;
    std::int32_t Level = 1;
    float ImprintQuality = 0.0f;  // imprinted only above 0
    bool Neuter = false;
    bool RandomGender = true;
    std::int32_t Female = 0;  // read only when RandomGender is false
    bool KeepInWorld = false;
    bool AsEgg = false;
    std::vector<std::int32_t> StatPoints;  // empty, or six values
    std::vector<std::int32_t> Colors;      // six values; 0 leaves a region unchanged
};

}  // namespace kestrova
