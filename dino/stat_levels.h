// Per-stat level-up points for a freshly spawned creature.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "AsaApi.h"

namespace kestrova {

// Writes the twelve points (clamped to 0..255) and the base level they make into
// the creature's status component, has the game rescale the stats, and tells the
// clients. A list of any other length than twelve leaves points and level alone
// but still rescales and notifies. The current values are not filled here.
// Returns the base level written, if any.
std::optional<int> ApplyStatLevels(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                     std::vector<std::int32_t> levels);

}  // namespace kestrova
