// Delivering a creature as a fertilized egg of itself.
#pragma once

#include "AsaApi.h"
#include "host/text.h"

namespace kestrova {

// "Blueprint'<path>'" for an egg class's default-object path, without a trailing
// "_C" (in any case) and without any "Default__".
WideString EggReference(WideView path);

// Asks the creature for a fertilized egg and moves the egg's item into the
// player's inventory. Returns the dropped egg, or null when none was made;
// `inInventory`, when given, tells whether the player's inventory took the item.
ADroppedItem* GiveFertilizedEgg(AShooterPlayerController* controller, APrimalDinoCharacter* creature,
                                bool* inInventory = nullptr);

}  // namespace kestrova
