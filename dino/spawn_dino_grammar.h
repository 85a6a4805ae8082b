// The creature commands' grammars: a command line's words in, the spawn options
// out, or the rule that stops the line. Shared by the commands and by the checker
// that explains a line; nothing here touches the game.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "dino/command_words.h"
#include "dino/spawn_options.h"
#include "host/stat_words.h"

namespace kestrova {

// KV.SpawnDino needs words 0 to 9; KV.SpawnDinoStats words 0 to 8.
inline constexpr int kSpawnDinoWords = 10;
inline constexpr int kSpawnDinoStatsWords = 9;
// KV.SpawnDinoStats: the first stat word; six are read.
inline constexpr int kFirstStatPointWord = 10;

struct DinoLine {
    // Filled as far as the words were read: with a stop, the words before it.
    // Controller is left null and StatPoints empty; the ranges of the stat words
    // are drawn only when the creature is spawned (DrawStatPoints).
    DinoSpawnOptions options;
    std::array<std::int32_t, 3> flagValues{};  // neuter, keep in world, as egg, as converted
    ColourWord colours;
    StatWords<6> stats;  // KV.SpawnDinoStats only
    std::optional<LineStop> stop;
};

// KV.SpawnDino blueprint item-path item-quality level imprint neuter keep-in-world as-egg colours [sex]
DinoLine ParseSpawnDino(const CommandWords& words);

// KV.SpawnDinoStats blueprint item-path item-quality imprint neuter keep-in-world as-egg colours [sex [stat1 .. stat6]]
DinoLine ParseSpawnDinoStats(const CommandWords& words);

}  // namespace kestrova
