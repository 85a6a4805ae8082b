// The words the two creature commands share: colours, sex and stat ranges.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dino/spawn_options.h"

namespace kestrova {

// Six colour values from a comma-separated list: part n sets region n when it is
// numeric, and still uses up its region when it is not. Parts after the sixth are
// ignored.
std::vector<std::int32_t> ParseColors(const FString& word);

// "R": the game's sex; "F": female; any other word: male.
void ApplySexWord(const FString& word, DinoSpawnOptions& options);

// A whole number ("7.9" gives 7) or a range drawn at random ("3-7"), saturated to
// the signed 32-bit range.
std::int32_t ParseIntOrRange(std::string_view text);

}  // namespace kestrova
