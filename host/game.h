// Game access the commands share: names, script events and controllers.
#pragma once

#include "host/members.h"

namespace kestrova {

// A name value made by the game from narrow text.
inline FName MakeName(const char* text, EFindName find)
{
    FName name;
    Call(member::MakeName, &name, text, find);
    return name;
}

// The script function `function` of `target`, or null when it has none.
inline UFunction* FindFunction(const UObject* target, const char* function)
{
    return Call(member::FindFunctionChecked, target, MakeName(function, FNAME_Find));
}

// The creature's status component as the game gives it, fetched afresh; may be null.
inline UPrimalCharacterStatusComponent* StatusComponentOf(const APrimalCharacter* creature)
{
    return Call(member::CharacterStatusComponent, creature);
}

// Console callbacks receive the game's player controller by its base class.
inline AShooterPlayerController* AsShooterController(APlayerController* player)
{
    return static_cast<AShooterPlayerController*>(player);
}

}  // namespace kestrova
