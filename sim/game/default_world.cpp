#include "world_file.h"

namespace sim {

// Five players: Alice and Carol share a team; Carol's inventory holds only two
// items; Dave has no inventory and his controller lacks "ClientNotifyLevelUp";
// Erin's one slot is taken by a stone, so her inventory refuses everything.
//
// The catalogue: the helmet uses item stats 1, 2, 3, 5 and 7 (2 adds 100 to its
// base); the sword's stat 1 has bit 0 clear. The raptor has gender and an egg
// class named "..._C"; the dodo's egg class lacks the "_C"; the jellyfish has
// neither gender nor egg; the golem has no status component; the storage box is
// an actor but no creature.
std::string_view DefaultWorldText()
{
    return R"json({
  "timeSeconds": 5000.0,
  "players": [
    { "id": "1001", "name": "Alice", "team": 50001, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f01" },
    { "id": "1002", "name": "Bob", "team": 50002, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f02" },
    { "id": "1003", "name": "Carol", "team": 50001, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f03",
      "inventorySlots": 2 },
    { "id": "1004", "name": "Dave", "team": 50004, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f04",
      "hasInventory": false, "notifyLevelUp": false },
    { "id": "1005", "name": "Erin", "team": 50005, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f05",
      "inventorySlots": 1, "items": [ "/Game/Items/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone" ] }
  ],
  "catalogue": {
    "items": [
      { "blueprint": "/Game/Items/Armor/PrimalItemArmor_MetalHelmet.PrimalItemArmor_MetalHelmet",
        "durability": 128.0,
        "stats": [
          { "index": 1, "flags": 1, "a": 0.25, "b": 0.125, "base": 64.0 },
          { "index": 2, "flags": 5, "a": 0.5, "b": 0.125, "base": 28.0 },
          { "index": 3, "flags": 1, "a": 0.5, "b": 0.25, "base": 32.0 },
          { "index": 5, "flags": 1, "a": 1.0, "b": 0.25, "base": 16.0 },
          { "index": 7, "flags": 1, "a": 0.5, "b": 0.5, "base": 16.0 } ] },
      { "blueprint": "/Game/Items/Weapons/PrimalItem_WeaponSword.PrimalItem_WeaponSword",
        "durability": 32.0,
        "stats": [
          { "index": 1, "flags": 0, "a": 0.25, "b": 0.125, "base": 64.0 },
          { "index": 2, "flags": 1, "a": 0.5, "b": 0.25, "base": 32.0 },
          { "index": 3, "flags": 1, "a": 0.25, "b": 0.25, "base": 64.0 } ] },
      { "blueprint": "/Game/Items/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone",
        "durability": 0.0 },
      { "blueprint": "/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod",
        "durability": 100.0 },
      { "blueprint": "/Game/Items/Eggs/PrimalItemConsumable_Egg_Raptor_Fertilized.PrimalItemConsumable_Egg_Raptor_Fertilized" },
      { "blueprint": "/Game/Items/Eggs/PrimalItemConsumable_Egg_Dodo_Fertilized.PrimalItemConsumable_Egg_Dodo_Fertilized",
        "class": "PrimalItemConsumable_Egg_Dodo_Fertilized" }
    ],
    "creatures": [
      { "blueprint": "/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP", "name": "Raptor",
        "eggItem": "/Game/Items/Eggs/PrimalItemConsumable_Egg_Raptor_Fertilized.PrimalItemConsumable_Egg_Raptor_Fertilized",
        "stats": [200, 150, 180, 150, 1200, 100, 0, 140, 1, 1, 0, 1],
        "colorSetNames": ["Raptor_Body", "Raptor_Stripes", "Raptor_Crest", "Raptor_Belly", "Raptor_Legs", "Raptor_Back"] },
      { "blueprint": "/Game/Dinos/Dodo/Dodo_Character_BP.Dodo_Character_BP", "name": "Dodo",
        "eggItem": "/Game/Items/Eggs/PrimalItemConsumable_Egg_Dodo_Fertilized.PrimalItemConsumable_Egg_Dodo_Fertilized",
        "stats": [40, 100, 30, 150, 450, 100, 0, 50, 1, 1, 0, 1] },
      { "blueprint": "/Game/Dinos/Jellyfish/Jellyfish_Character_BP.Jellyfish_Character_BP", "name": "Jellyfish",
        "usesGender": false,
        "stats": [60, 100, 60, 150, 400, 100, 0, 80, 1, 1, 0, 1] },
      { "blueprint": "/Game/Dinos/Golem/Golem_Character_BP.Golem_Character_BP", "name": "Golem",
        "usesGender": false, "statusComponent": false }
    ],
    "actors": [
      { "blueprint": "/Game/Structures/StorageBox/StorageBox_Small.StorageBox_Small" }
    ]
  }
})json";
}

}  // namespace sim
