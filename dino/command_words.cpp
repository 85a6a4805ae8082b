#include "dino/command_words.h"

#include "host/random.h"
#include "host/words.h"

namespace kestrova {

std::vector<std::int32_t> ParseColors(const FString& word)
{
    std::vector<std::int32_t> colors(6, 0);
    const TArray<FString> parts = SplitOn(word, WTEXT(","));
    for (int region = 0; region < parts.Num() && region < 6; ++region)
        if (IsNumeric(parts[region]))
            colors[region] = ToInt(ToNarrow(parts[region]));
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
