// The optional stat words at the end of a spawn command line.
#pragma once

#include <array>
#include <cstddef>

#include "host/words.h"

namespace kestrova {

// One slot per word from word `first` on, while words last: a number, or a range of
// two numeric pieces such as 20-30, read by `read` from the word's narrow text. A
// word with "-" that is not two numeric pieces leaves its slot at 0 and parsing goes
// on; a word without "-" that is not numeric ends the stat words.
template <typename Slot, std::size_t Count, typename Read>
std::array<Slot, Count> ParseStatWords(const TArray<FString>& words, int first, Read read)
{
    std::array<Slot, Count> slots{};
    for (int i = first; i < words.Num() && i < first + static_cast<int>(Count); ++i) {
        const FString& word = words[i];
        if (word.Contains(WTEXT("-"))) {
            const TArray<FString> pieces = SplitOn(word, WTEXT("-"));
            if (pieces.Num() == 2 && IsNumeric(pieces[0]) && IsNumeric(pieces[1]))
                slots[i - first] = read(ToNarrow(word));
            continue;
        }
        if (!IsNumeric(word))
            break;
        slots[i - first] = read(ToNarrow(word));
    }
    return slots;
}

}  // namespace kestrova
