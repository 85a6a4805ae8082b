#include "dino/command_words.h"

#include "host/words.h"

namespace kestrova {

ColourWord ReadColours(WordConversions& conversions, int word, std::vector<std::int32_t>& colors)
{
    ColourWord read;
    colors.assign(read.parts.size(), 0);
    ForEachPiece(conversions.Words()[word], WTEXT(','), [&](FString::WideView part) {
        const int region = read.count++;
        if (region >= static_cast<int>(read.parts.size()))
            return;
        const auto slot = static_cast<std::size_t>(region);
        if (!IsNumeric(part)) {
            read.parts[slot] = ColourWord::Part::NotNumber;
            return;
        }
        conversions.Run(word, [&] { colors[slot] = ToInt(ToNarrow(part)); }, region);
    });
    return read;
}

void ApplySexWord(FString::WideView word, DinoSpawnOptions& options)
{
    options.RandomGender = word == WTEXT("R");
    options.Female = word == WTEXT("F") ? 1 : 0;
}

double StatPointEnd(std::string_view text) { return SaturatedInt(ToFloat(text)); }

std::vector<std::int32_t> DrawStatPoints(const StatWords<6>& words, UnitDraw draw)
{
    const auto points = DrawStatValues<std::int32_t>(words, SaturatedInt, draw);
    return {points.begin(), points.end()};
}

}  // namespace kestrova
