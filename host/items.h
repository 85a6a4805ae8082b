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

// Whether a new item is made as a blueprint: the game's factory takes two flags,
// one forcing the item itself (its 6th argument) and one forcing a blueprint (its
// 8th); at most one of them is set.
enum class ItemForm { GameChoice, Item, Blueprint };

// The game's item factory. Of its fifteen arguments the commands vary these; the
// others are always, in their places: false (4th), 0 (7th), 0.0 (9th), false (10th),
// 0.0 (12th), false, false, true (13th to 15th). `equip` is the 3rd.
inline UPrimalItem* AddNewItem(UClass* itemClass, UPrimalInventoryComponent* inventory, bool equip, float quality,
                               ItemForm form, UClass* secondClass)
{
    const bool forceItem = form == ItemForm::Item;
    const bool forceBlueprint = form == ItemForm::Blueprint;
    return CallStatic(member::AddNewItem, TSubclassOf<UPrimalItem>(itemClass), inventory, equip, false, quality,
                      forceItem, 0, forceBlueprint, 0.0f, false, TSubclassOf<UPrimalItem>(secondClass), 0.0f, false,
                      false, true);
}

}  // namespace kestrova
