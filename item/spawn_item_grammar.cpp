#include "item/spawn_item_grammar.h"

#include "host/text.h"
#include "host/words.h"

namespace kestrova {
namespace {

double ItemStatEnd(std::string_view text) { return ToFloat(text); }
float AsSlot(double value) { return static_cast<float>(value); }

}  // namespace

ItemLine ParseSpawnItem(const CommandWords& words)
{
    ItemLine line;
    if (words.Num() < kSpawnItemWords) {
        line.stop = LineStop::TooFew(words.Num(), kSpawnItemWords);
        return line;
    }
    if (const int word = FirstNotNumeric(words, {3, 4, 5}); word >= 0) {
        line.stop = LineStop::NotNumber(word);
        return line;
    }

    WordConversions conversions(words, line.stop);
    line.itemReference = WithoutQuotes(ToNarrow(words[1]));
    line.secondReference = WithoutQuotes(ToNarrow(words[2]));
    if (!conversions.Int(3, line.quality) || !conversions.Int(4, line.formValue) || !conversions.Int(5, line.count))
        return line;

    WordConversions statConversions(words, line.statStop);
    line.stats = ParseStatWords<5>(statConversions, kFirstItemStatWord, ItemStatEnd);
    return line;
}

ItemStatSlots DrawItemStats(const StatWords<5>& words, UnitDraw draw)
{
    return DrawStatValues<float>(words, AsSlot, draw);
}

}  // namespace kestrova
