#include "dino/command_words.h"

#include "host/random.h"
#include "host/words.h"

namespace kestrova {

std::vector<std::int32_t> ParseColors(const FString& word)
{
    std::vector<std::int32_t> colors(6, 0);
    std::size_t region = 0;
    ForEachPiece(word.View(), WTEXT(','), [&](FString::WideView part) {
        if (region < colors.size() && IsNumeric(part))
            colors[region] = ToInt(ToNarrow(part));
        ++region;
    });
    return colors;
}

void ApplySexWord(const FString& word, DinoSpawnOptions& options)
{
    options.RandomGender = word.View() == WTEXT("R");
    options.Female = word.View() == WTEXT("F") ? 1 : 0;
}

std::int32_t ParseIntOrRange(std::string_view text)
{
    return SaturatedInt(NumberOrRange(text, [](std::string_view piece) { return SaturatedInt(ToFloat(piece)); }));
}

}  // namespace kestrova
