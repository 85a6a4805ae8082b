#include "dino/spawn_dino_command.h"

#include "dino/spawn_dino_grammar.h"
#include "dino/spawn_pipeline.h"
#include "host/game.h"
#include "host/words.h"

namespace kestrova {
namespace {

// A line that stops does nothing; one that stops at a conversion ends with that
// conversion's error, before anything is spawned.
void Spawn(APlayerController* player, DinoLine line)
{
    if (line.stop) {
        if (line.stop->IsConversion())
            line.stop->Throw();
        return;
    }
    line.options.Controller = AsShooterController(player);
    SpawnTamedDino(std::move(line.options));
}

}  // namespace

void SpawnDinoCommand(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    Spawn(player, ParseSpawnDino(CommandWords(line->View())));
}

void SpawnDinoStatsCommand(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    DinoLine parsed = ParseSpawnDinoStats(CommandWords(line->View()));
    if (!parsed.stop)
        parsed.options.StatPoints = DrawStatPoints(parsed.stats);
    Spawn(player, std::move(parsed));
}

}  // namespace kestrova
