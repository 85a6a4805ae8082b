// Delivering a creature as a fertilized egg of itself.
#pragma once

#include "AsaApi.h"
#include "host/text.h"

namespace kestrova {

// "Blueprint'<path>'" for an egg class's default-object path, without a trailing
// "_C" (in any case) and without any "Default__".
WideString EggReference(WideView path);

// Where a fertilized egg ended.
enum class EggPlace { NotMade, NoInventory, InventoryFull, Inventory };

// Asks the creature for a fertilized egg and moves the egg's item into the
// player's inventory. Returns the dropped egg, or null when none was made;
// `place`, when given, tells where the egg ended.
ADroppedItem* GiveFertilizedEgg(AShooterPlayerController* controller, APrimalDinoCharacter* creature,
                                EggPlace* place = nullptr);

}  // namespace kestrova
