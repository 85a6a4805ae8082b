// KV.SpawnItem: creates items straight into the issuing player's inventory.
#pragma once

#include "AsaApi.h"
#include "host/outcome.h"

namespace kestrova {

// KV.SpawnItem item-blueprint second-blueprint quality form-flag count [stat1 [stat2 [stat3 [stat5 [stat7]]]]]
Outcome SpawnItem(APlayerController* player, const FString& line);

}  // namespace kestrova
