// The game's name table: text to name values and back. Index 0 is "None".
#pragma once

#include <string>
#include <string_view>

#include "FName.h"

namespace sim {

// The name for `text`. With FNAME_Find a text the table does not hold gives
// "None"; with FNAME_Add it is added.
FName FindName(std::string_view text, EFindName find);

// The text of a name value ("None" for index 0).
std::string NameText(FName name);

// Empties the table, leaving only "None".
void ClearNames();

// Registers FName.FName(char*,EFindName).
void RegisterNameMembers();

}  // namespace sim
