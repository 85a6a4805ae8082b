// Delivering a creature as a fertilized egg of itself.
#pragma once

#include "AsaApi.h"

namespace kestrova {

// Asks the creature for a fertilized egg and moves the egg's item into the
// player's inventory. Returns the dropped egg, or null when none was made;
// `inInventory`, when given, tells whether the player's inventory took the item.
ADroppedItem* GiveFertilizedEgg(AShooterPlayerController* controller, APrimalDinoCharacter* creature,
                                bool* inInventory = nullptr);

}  // namespace kestrova
