// The one operation every creature command ends in.
#pragma once

#include "dino/spawn_options.h"
#include "host/outcome.h"

namespace kestrova {

// Spawns the creature, tames it to the player, sets it up as the options ask and
// delivers it: as a fertilized egg, left tamed in the world, or packed in a
// cryopod in the player's inventory (the default). Says what it made and where
// the creature went; a blueprint that gives no creature stops it at word 1.
Outcome SpawnTamedDino(DinoSpawnOptions options);

// The twelve-entry stat level list for six command values: they land on status
// value indices 0, 1, 3, 4, 7 and 8.
std::vector<std::int32_t> StatLevelList(const std::vector<std::int32_t>& statPoints);

}  // namespace kestrova
