#include "dino/command_words.h"

#include <cmath>
#include <limits>

#include "host/random.h"
#include "host/words.h"

namespace kestrova {
namespace {

std::int32_t SaturatedInt(double value)
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    const double whole = std::trunc(value);
    return whole <= lowest ? std::numeric_limits<std::int32_t>::min()
           : whole >= highest ? std::numeric_limits<std::int32_t>::max()
                              : static_cast<std::int32_t>(whole);
}

}  // namespace

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
    const double u = DrawUnit();
    const std::size_t dash = text.find('-');
    if (dash == text.npos)
        return SaturatedInt(ToFloat(text));
    const double lo = SaturatedInt(ToFloat(text.substr(0, dash)));
    const double hi = SaturatedInt(ToFloat(text.substr(dash + 1)));
    return SaturatedInt(lo + u * (hi - lo));
}

}  // namespace kestrova
