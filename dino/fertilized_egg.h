// Delivering a creature as a fertilized egg of itself.
#pragma once

#include "AsaApi.h"

namespace kestrova {

// Asks the creature for a fertilized egg and moves the egg's item into the
// player's inventory. Returns the dropped egg, or null when none was made.
ADroppedItem* GiveFertilizedEgg(AShooterPlayerController* controller, APrimalDinoCharacter* creature);

}  // namespace kestrova
