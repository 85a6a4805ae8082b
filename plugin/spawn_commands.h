// The three spawn commands as the host and the targeted forms call them: each
// runs to one outcome, and on the console a run that did not simply deliver can
// tell the issuing player why.
#pragma once

#include <string_view>

#include "AsaApi.h"
#include "host/outcome.h"

namespace kestrova {

struct SpawnCommand {
    const char* name;
    Outcome (*run)(APlayerController* player, const FString& line);
};

extern const SpawnCommand kSpawnDinoCommand;
extern const SpawnCommand kSpawnDinoStatsCommand;
extern const SpawnCommand kSpawnItemCommand;

// Runs the command for `player` on `line`; an error raised in it gives a failed outcome.
Outcome RunSpawnCommand(const SpawnCommand& command, APlayerController* player, const FString& line);

// With "ConsoleFeedback" on, tells `player` in red why `command` did not simply
// deliver; a delivery, or a run with no player, stays quiet.
void TellIssuingPlayer(std::string_view command, APlayerController* player, const Outcome& outcome);

// The console callbacks of KV.SpawnDino, KV.SpawnDinoStats and KV.SpawnItem.
void SpawnDinoCommand(APlayerController* player, FString* line, bool consoleFlag);
void SpawnDinoStatsCommand(APlayerController* player, FString* line, bool consoleFlag);
void SpawnItemCommand(APlayerController* player, FString* line, bool consoleFlag);

}  // namespace kestrova
