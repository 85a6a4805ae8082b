// Game value types whose layout the plugin fills or reads directly.
#pragma once

#include <cstddef>

#include "FName.h"
#include "FString.h"
#include "GameClasses.h"
#include "GameConvention.h"

namespace UE::Math {
template <typename T>
struct TVector {
    T X = 0, Y = 0, Z = 0;
};
template <typename T>
struct TRotator {
    T Pitch = 0, Yaw = 0, Roll = 0;
};
}  // namespace UE::Math

// The game's vector and rotator have constructors of their own and copy trivially;
// at 24 bytes they travel as a pointer to a copy.
template <typename T>
struct GameClass<UE::Math::TVector<T>> {
    static constexpr GameClassDefinition kDefinition{.userDefinedConstructor = true, .trivialCopyAndDestruction = true};
};
template <typename T>
struct GameClass<UE::Math::TRotator<T>> {
    static constexpr GameClassDefinition kDefinition{.userDefinedConstructor = true, .trivialCopyAndDestruction = true};
};

namespace EPrimalCharacterStatusValue {
enum Type : int {
    Health = 0,
    Stamina = 1,
    Torpidity = 2,
    Oxygen = 3,
    Food = 4,
    Water = 5,
    Temperature = 6,
    Weight = 7,
    MeleeDamageMultiplier = 8,
    SpeedMultiplier = 9,
    TemperatureFortitude = 10,
    CraftingSpeedMultiplier = 11,
    MAX = 12
};
}  // namespace EPrimalCharacterStatusValue

namespace EPrimalItemStat {
enum Type : int {
    GenericQuality = 0,
    Armor = 1,
    MaxDurability = 2,
    WeaponDamagePercent = 3,
    WeaponClipAmmo = 4,
    HypothermalInsulation = 5,
    Weight = 6,
    HyperthermalInsulation = 7,
    MAX = 8
};
}  // namespace EPrimalItemStat

// One record of an item's stat infos, as the game lays it out in 36 bytes.
struct FItemStatInfo {
    uint32 Flags = 0;  // bit 0: the item uses the stat; bit 2: add 100.0 to the base
    float Unknown4 = 0;
    float Unknown8 = 0;
    float FactorA = 0;
    float Unknown16 = 0;
    float FactorB = 0;
    float Base = 0;
    float Unknown28 = 0;
    float Unknown32 = 0;
};

// What the game writes for a creature when asked for its data.
struct FARKDinoData {
    UClass* CreatureClass = nullptr;
    TArray<uint8> CreatureBytes;
    FString Text1;
    FString Text2;
};

// The record an item carries for the game: a cryopod keeps its creature in one.
struct FCustomItemData {
    FName DataName;
    TArray<FString> Strings;
    TArray<float> Floats;
    TArray<unsigned long long> ReservedList;  // always left empty
    TArray<UClass*> Classes;
    TArray<FName> Names;
    TArray<TArray<uint8>> ByteArrays;
    TArray<double> Doubles;
};

static_assert(sizeof(FItemStatInfo) == 36);
static_assert(offsetof(FItemStatInfo, FactorA) == 12 && offsetof(FItemStatInfo, FactorB) == 20 &&
              offsetof(FItemStatInfo, Base) == 24);
static_assert(sizeof(FARKDinoData) == 56);
static_assert(offsetof(FARKDinoData, CreatureBytes) == 8 && offsetof(FARKDinoData, Text1) == 24 &&
              offsetof(FARKDinoData, Text2) == 40);
static_assert(sizeof(FCustomItemData) == 120);
static_assert(offsetof(FCustomItemData, Strings) == 8 && offsetof(FCustomItemData, Floats) == 24 &&
              offsetof(FCustomItemData, ReservedList) == 40 && offsetof(FCustomItemData, Classes) == 56 &&
              offsetof(FCustomItemData, Names) == 72 && offsetof(FCustomItemData, ByteArrays) == 88 &&
              offsetof(FCustomItemData, Doubles) == 104);
