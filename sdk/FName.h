// The game's name value: 8 bytes, made by the game from narrow text.
#pragma once

#include <cstdint>

#include "GameConvention.h"

enum EFindName : int {
    FNAME_Find = 0,  // find only: a name the game does not know yet becomes "None"
    FNAME_Add = 1,   // add when absent
};

struct FName {
    std::uint32_t ComparisonIndex = 0;
    std::uint32_t Number = 0;
};

static_assert(sizeof(FName) == 8, "a game name is 8 bytes");

// The game's name has constructors of its own (FName.FName(char*,EFindName) is
// one), so a static function never returns it in a register; it copies trivially.
template <>
struct GameClass<FName> {
    static constexpr GameClassDefinition kDefinition{.userDefinedConstructor = true, .trivialCopyAndDestruction = true};
};
