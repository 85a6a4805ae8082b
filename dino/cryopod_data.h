// The record a cryopod item carries for the creature packed in it.
#pragma once

#include "AsaApi.h"

namespace kestrova {

// Clears `data` and fills it from the creature and, when given, the item made in
// the creature's own inventory. Does not set it on any item.
FCustomItemData& BuildCryopodData(FCustomItemData& data, APrimalDinoCharacter* creature, UPrimalItem* inventoryItem);

}  // namespace kestrova
