// The words the two creature commands share: colours, sex and stat points.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "dino/spawn_options.h"
#include "host/stat_words.h"

namespace kestrova {

// How a colour list reads: part n (from 0, empty parts dropped) belongs to region n.
struct ColourWord {
    enum class Part : std::uint8_t { Number, NotNumber };

    std::array<Part, 6> parts{};  // the first six parts
    int count = 0;                // every part, those after the sixth included
};

// Reads the comma-separated colour list of word `word` into `colors`, six values:
// a numeric part sets its region, any other part leaves it at 0 and still uses up
// its position, and parts after the sixth are ignored. A numeric part whose
// conversion fails stops the line there.
ColourWord ReadColours(WordConversions& conversions, int word, std::vector<std::int32_t>& colors);

// "R": the game's sex; "F": female; any other word: male.
void ApplySexWord(FString::WideView word, DinoSpawnOptions& options);

// A stat word's number, or one end of its range, as the creature commands read it:
// a float truncated toward zero into the signed 32-bit range.
double StatPointEnd(std::string_view text);

// The six stat points the stat words ask for, each range drawn with `draw`, and
// saturated to the signed 32-bit range.
std::vector<std::int32_t> DrawStatPoints(const StatWords<6>& words, UnitDraw draw = DrawUnit);

}  // namespace kestrova
