// KV.SpawnItem's grammar: a command line's words in, what the command asks the
// game for out, or the rule that stops the line. Shared by the command and by the
// checker that explains a line; nothing here touches the game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/stat_words.h"
#include "item/item_stats.h"

namespace kestrova {

// KV.SpawnItem needs words 0 to 5; words 6 to 10 are its stat words.
inline constexpr int kSpawnItemWords = 6;
inline constexpr int kFirstItemStatWord = 6;
// The words a run that makes nothing can be stopped at.
inline constexpr int kItemWord = 1;
inline constexpr int kCountWord = 5;

struct ItemLine {
    // Filled as far as the words were read.
    std::string itemReference;    // word 1, double quotes removed
    std::string secondReference;  // word 2, double quotes removed
    std::int32_t quality = 0;
    std::int32_t formValue = 0;  // word 4 as converted; the flag is set only by 1
    std::int32_t count = 0;
    StatWords<5> stats;  // for item stats 1, 2, 3, 5 and 7; ranges not yet drawn

    // Stops the line before anything is created.
    std::optional<LineStop> stop;
    // A stat word whose conversion fails: the command ends after the items were
    // created, so they keep their quality and get no stat values.
    std::optional<LineStop> statStop;

    bool FormFlag() const { return formValue == 1; }
};

// KV.SpawnItem item-blueprint second-blueprint quality form-flag count [stat1 [stat2 [stat3 [stat5 [stat7]]]]]
ItemLine ParseSpawnItem(const CommandWords& words);

// The five stat values the stat words ask for, ranges drawn once for all items.
ItemStatSlots DrawItemStats(const StatWords<5>& words);

}  // namespace kestrova
