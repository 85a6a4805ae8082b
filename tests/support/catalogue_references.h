// The blueprint references of the default world's catalogue, as a player types them.
#pragma once

namespace kestrova::test {

inline constexpr char kRaptor[] = "Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'";
inline constexpr char kDodo[] = "Blueprint'/Game/Dinos/Dodo/Dodo_Character_BP.Dodo_Character_BP'";
inline constexpr char kJellyfish[] = "Blueprint'/Game/Dinos/Jellyfish/Jellyfish_Character_BP.Jellyfish_Character_BP'";
inline constexpr char kGolem[] = "Blueprint'/Game/Dinos/Golem/Golem_Character_BP.Golem_Character_BP'";
inline constexpr char kStorageBox[] = "Blueprint'/Game/Structures/StorageBox/StorageBox_Small.StorageBox_Small'";
inline constexpr char kHelmet[] = "Blueprint'/Game/Items/Armor/PrimalItemArmor_MetalHelmet.PrimalItemArmor_MetalHelmet'";
inline constexpr char kSword[] = "Blueprint'/Game/Items/Weapons/PrimalItem_WeaponSword.PrimalItem_WeaponSword'";
inline constexpr char kStone[] = "Blueprint'/Game/Items/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone'";

}  // namespace kestrova::test
