// KV.SpawnDino and KV.SpawnDinoStats: the console commands that spawn a tamed
// creature for the issuing player.
#pragma once

#include "AsaApi.h"
#include "host/outcome.h"

namespace kestrova {

// KV.SpawnDino blueprint item-path item-quality level imprint neuter keep-in-world as-egg colours [sex]
Outcome SpawnDino(APlayerController* player, const FString& line);

// KV.SpawnDinoStats blueprint item-path item-quality imprint neuter keep-in-world as-egg colours [sex [stat1 .. stat6]]
Outcome SpawnDinoStats(APlayerController* player, const FString& line);

}  // namespace kestrova
