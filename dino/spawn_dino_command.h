// KV.SpawnDino and KV.SpawnDinoStats: the console commands that spawn a tamed
// creature for the issuing player.
#pragma once

#include "AsaApi.h"

namespace kestrova {

// KV.SpawnDino blueprint item-path item-quality level imprint neuter keep-in-world as-egg colours [sex]
void SpawnDinoCommand(APlayerController* player, FString* line, bool consoleFlag);

// KV.SpawnDinoStats blueprint item-path item-quality imprint neuter keep-in-world as-egg colours [sex [stat1 .. stat6]]
void SpawnDinoStatsCommand(APlayerController* player, FString* line, bool consoleFlag);

}  // namespace kestrova
