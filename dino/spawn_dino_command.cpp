#include "dino/spawn_dino_command.h"

#include "dino/spawn_dino_grammar.h"
#include "dino/spawn_pipeline.h"
#include "host/game.h"
#include "host/words.h"

namespace kestrova {
namespace {

// A line its words stop does nothing, before anything is spawned.
Outcome Spawn(APlayerController* player, const CommandWords& words, DinoLine line)
{
    if (line.stop)
        return Outcome::Nothing(StopOf(*line.stop, words));
    line.options.Controller = AsShooterController(player);
    return SpawnTamedDino(std::move(line.options));
}

}  // namespace

Outcome SpawnDino(APlayerController* player, const FString& line)
{
    if (player == nullptr)
        return Outcome::Nothing({StopRule::NoPlayer});
    const CommandWords words(line.View());
    return Spawn(player, words, ParseSpawnDino(words));
}

Outcome SpawnDinoStats(APlayerController* player, const FString& line)
{
    if (player == nullptr)
        return Outcome::Nothing({StopRule::NoPlayer});
    const CommandWords words(line.View());
    DinoLine parsed = ParseSpawnDinoStats(words);
    if (!parsed.stop)
        parsed.options.StatPoints = DrawStatPoints(parsed.stats);
    return Spawn(player, words, std::move(parsed));
}

}  // namespace kestrova
