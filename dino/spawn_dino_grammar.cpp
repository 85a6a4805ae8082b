#include "dino/spawn_dino_grammar.h"

#include "host/text.h"
#include "host/words.h"

namespace kestrova {
namespace {

// Words 1 and 2 are text and cannot fail; the others convert in word order, the
// same order as they are checked.
bool ReadFlags(WordConversions& conversions, int firstFlag, DinoLine& line)
{
    for (int i = 0; i < 3; ++i)
        if (!conversions.Int(firstFlag + i, line.flagValues[static_cast<std::size_t>(i)]))
            return false;
    line.options.Neuter = line.flagValues[0] == 1;
    line.options.KeepInWorld = line.flagValues[1] == 1;
    line.options.AsEgg = line.flagValues[2] == 1;
    return true;
}

void ReadPaths(const CommandWords& words, DinoSpawnOptions& options)
{
    options.BlueprintPath = WithoutQuotes(ToNarrow(words[1]));
    options.InventoryItemPath = ToNarrow(words[2]);
}

}  // namespace

DinoLine ParseSpawnDino(const CommandWords& words)
{
    DinoLine line;
    if (words.Num() < kSpawnDinoWords) {
        line.stop = LineStop::TooFew(words.Num(), kSpawnDinoWords);
        return line;
    }
    if (const int word = FirstNotNumeric(words, {3, 4, 5, 6, 7, 8}); word >= 0) {
        line.stop = LineStop::NotNumber(word);
        return line;
    }

    DinoSpawnOptions& options = line.options;
    WordConversions conversions(words, line.stop);
    ReadPaths(words, options);
    if (!conversions.Int(3, options.InventoryItemQuality) || !conversions.Int(4, options.Level) ||
        !conversions.Float(5, options.ImprintQuality) || !ReadFlags(conversions, 6, line))
        return line;
    line.colours = ReadColours(conversions, 9, options.Colors);
    if (line.stop)
        return line;
    if (words.Num() > 10)
        ApplySexWord(words[10], options);
    return line;
}

DinoLine ParseSpawnDinoStats(const CommandWords& words)
{
    DinoLine line;
    if (words.Num() < kSpawnDinoStatsWords) {
        line.stop = LineStop::TooFew(words.Num(), kSpawnDinoStatsWords);
        return line;
    }
    if (const int word = FirstNotNumeric(words, {3, 4, 5, 6, 7}); word >= 0) {
        line.stop = LineStop::NotNumber(word);
        return line;
    }

    DinoSpawnOptions& options = line.options;
    WordConversions conversions(words, line.stop);
    ReadPaths(words, options);
    options.Level = 1;  // the stat points make the level
    if (!conversions.Int(3, options.InventoryItemQuality) || !conversions.Float(4, options.ImprintQuality) ||
        !ReadFlags(conversions, 5, line))
        return line;
    line.colours = ReadColours(conversions, 8, options.Colors);
    if (line.stop)
        return line;
    if (words.Num() > 9)
        ApplySexWord(words[9], options);
    // Words 16 and later are never read: there are six stat slots.
    line.stats = ParseStatWords<6>(conversions, kFirstStatPointWord, StatPointEnd);
    return line;
}

}  // namespace kestrova
