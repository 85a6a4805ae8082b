#include "dino/spawn_dino_command.h"

#include <initializer_list>

#include "dino/command_words.h"
#include "dino/spawn_pipeline.h"
#include "host/game.h"
#include "host/stat_words.h"
#include "host/text.h"
#include "host/words.h"

namespace kestrova {
namespace {

bool AllNumeric(const TArray<FString>& words, std::initializer_list<int> indices)
{
    for (const int i : indices)
        if (!IsNumeric(words[i]))
            return false;
    return true;
}

bool Flag(const FString& word) { return ToInt(ToNarrow(word)) == 1; }

}  // namespace

void SpawnDinoCommand(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    const TArray<FString> words = SplitWords(*line);
    if (words.Num() < 10 || !AllNumeric(words, {3, 4, 5, 6, 7, 8}))
        return;

    DinoSpawnOptions options;
    options.Controller = AsShooterController(player);
    options.BlueprintPath = ToNarrow(words[1]);
    options.InventoryItemPath = ToNarrow(words[2]);
    options.InventoryItemQuality = ToInt(ToNarrow(words[3]));
    options.Level = ToInt(ToNarrow(words[4]));
    options.ImprintQuality = ToFloat(ToNarrow(words[5]));
    options.Neuter = Flag(words[6]);
    options.KeepInWorld = Flag(words[7]);
    options.AsEgg = Flag(words[8]);
    options.Colors = ParseColors(words[9]);
    if (words.Num() >= 11)
        ApplySexWord(words[10], options);
    options.BlueprintPath = WithoutQuotes(std::move(options.BlueprintPath));

    SpawnTamedDino(std::move(options));
}

void SpawnDinoStatsCommand(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    const TArray<FString> words = SplitWords(*line);
    if (words.Num() < 9 || !AllNumeric(words, {3, 4, 5, 6, 7}))
        return;

    DinoSpawnOptions options;
    options.Controller = AsShooterController(player);
    options.BlueprintPath = WithoutQuotes(ToNarrow(words[1]));
    options.InventoryItemPath = ToNarrow(words[2]);
    options.InventoryItemQuality = ToInt(ToNarrow(words[3]));
    options.Level = 1;
    options.ImprintQuality = ToFloat(ToNarrow(words[4]));
    options.Neuter = Flag(words[5]);
    options.KeepInWorld = Flag(words[6]);
    options.AsEgg = Flag(words[7]);
    options.RandomGender = true;
    options.Female = 0;
    options.Colors = ParseColors(words[8]);
    if (words.Num() >= 10)
        ApplySexWord(words[9], options);
    // Words 16 and later are never read: there are six stat slots.
    const auto stats = ParseStatWords<std::int32_t, 6>(words, 10, ParseIntOrRange);
    options.StatPoints.assign(stats.begin(), stats.end());

    SpawnTamedDino(std::move(options));
}

}  // namespace kestrova
