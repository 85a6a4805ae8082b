// Item classes and item creation, shared by the creature and item commands.
#pragma once

#include <string>

#include "host/members.h"

namespace kestrova {

// The class that a blueprint reference names ("Blueprint'/Game/...'"), or null.
inline UClass* ClassFromReference(const std::string& reference)
{
    FString text(reference.c_str());
    return CallStatic(member::StringReferenceToClass, text).uClass;
}

// The game's item factory. Of its fifteen arguments the commands vary these; the
// others are always, in their places: false (4th), 0 (7th), 0.0 (9th), false (10th),
// 0.0 (12th), false, false, true (13th to 15th).
inline UPrimalItem* AddNewItem(UClass* itemClass, UPrimalInventoryComponent* inventory, bool third, float quality,
                               bool sixth, bool eighth, UClass* secondClass)
{
    return CallStatic(member::AddNewItem, TSubclassOf<UPrimalItem>(itemClass), inventory, third, false, quality, sixth,
                      0, eighth, 0.0f, false, TSubclassOf<UPrimalItem>(secondClass), 0.0f, false, false, true);
}

}  // namespace kestrova
