// How the console shows items, shared by /inventory, /dinos and /item.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace sim {

class Item;
class Inventory;

// The name of status value `index` (0 to 11): "health", "stamina"...
std::string_view StatName(int index);

// One item in a line, then what it carries (a cryopod's creature, decoded),
// each line starting with `indent`:
//   1. PrimalItemArmor_MetalHelmet_C#5  quality 50 (index 50)  durability 128  stats 0:0 1:0 2:18 ...
//        made as item  second class none   (all on the first line)
// "made as" tells which of AddNewItem's form flags were set: "item" (6th),
// "blueprint" (8th), "game's choice" (neither) or "item and blueprint" (both).
void ShowItem(std::ostream& out, std::string_view indent, std::size_t number, const Item& item);

// Every item of an inventory, numbered from 1, with a heading line.
void ShowInventory(std::ostream& out, std::string_view indent, std::string_view owner, const Inventory& inventory);

// Every list of the record an item carries, entry by entry with its index (byte
// arrays as their length and hex).
void ShowItemWhole(std::ostream& out, const Item& item);

}  // namespace sim
