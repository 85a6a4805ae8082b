// The catalogue: the creature, item and other actor classes a world offers, each
// found by its blueprint reference, "Blueprint'" + blueprint path + "'".
//
// In the world file (an absent "catalogue" means the built-in one):
//
//   "catalogue": {
//     "items": [
//       { "blueprint": "/Game/Items/Sword/PrimalItem_Sword.PrimalItem_Sword",
//         "class": "PrimalItem_Sword_C",          // optional: last part of the blueprint + "_C"
//         "durability": 70.0,                     // optional, default 100
//         "stats": [ { "index": 2, "flags": 5,    // ItemStatInfos record `index` (0..7):
//                      "a": 0.5, "b": 0.125,      //   bit 0 uses the stat, bit 2 adds 100 to base
//                      "base": 28.0 } ] }         // optional, default no stats
//     ],
//     "creatures": [
//       { "blueprint": "/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP",
//         "name": "Raptor",                       // what GetCurrentDinoName gives
//         "usesGender": true,                     // optional, default true
//         "statusComponent": true,                // optional, default true
//         "eggItem": "/Game/Eggs/...",            // optional: blueprint of an item above
//         "stats": [ 12 numbers ],                // optional: base maxima per status value
//         "colorSetNames": [ "..." ],             // optional, default none
//         "colors": [ 6 integers ],               // optional, default all 0
//         "inventorySlots": 100 }                 // optional, default 100
//     ],
//     "actors": [ { "blueprint": "/Game/Structures/Box/Box.Box" } ]   // anything else
//   }
//
// A class's path is the blueprint's package, a dot and the class name; its
// default object's path puts "Default__" before the class name.
#pragma once

#include "GameStructs.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "object.h"

namespace sim {

class Game;

inline constexpr int kStatusValueCount = 12;
inline constexpr int kItemStatCount = 8;

// One record of UPrimalItem.ItemStatInfos, laid out as the game's 36 bytes.
using ItemStatInfo = FItemStatInfo;

struct ItemEntry {
    Class* cls = nullptr;
    std::string reference;
    float durability = 100;
    std::array<ItemStatInfo, kItemStatCount> stats{};
};

struct CreatureEntry {
    Class* cls = nullptr;
    std::string reference;
    std::string name;
    bool usesGender = true;
    bool statusComponent = true;
    Class* eggClass = nullptr;
    std::array<float, kStatusValueCount> stats{};
    std::vector<std::string> colorSetNames;
    std::array<int, 6> colors{};
    int inventorySlots = 100;
};

struct ActorEntry {
    Class* cls = nullptr;
    std::string reference;
};

class Catalogue {
public:
    // Defines the catalogue's classes in `game` from the world's "catalogue".
    // Throws WorldError for a description that cannot be built.
    void Build(Game& game, const nlohmann::json& world);

    // The class whose reference is exactly `reference`, or null.
    Class* Find(std::string_view reference) const;

    const ItemEntry* Item(const Class* cls) const;
    const CreatureEntry* Creature(const Class* cls) const;
    // The reference to type for a catalogue class ("" for another class).
    std::string ReferenceOf(const Class* cls) const;

    const std::vector<ItemEntry>& Items() const { return items_; }
    const std::vector<CreatureEntry>& Creatures() const { return creatures_; }
    const std::vector<ActorEntry>& Actors() const { return actors_; }

private:
    void AddItems(Game& game, const nlohmann::json& list);
    void AddCreatures(Game& game, const nlohmann::json& list);
    void AddActors(Game& game, const nlohmann::json& list);
    Class& DefineBlueprintClass(Game& game, const nlohmann::json& entry, const std::string& where,
                                std::string_view super, std::string& reference);

    std::vector<ItemEntry> items_;
    std::vector<CreatureEntry> creatures_;
    std::vector<ActorEntry> actors_;
    std::map<std::string, Class*, std::less<>> byReference_;
};

// "Blueprint'<blueprint>'".
std::string ReferenceText(std::string_view blueprint);

// The path of the default object of `cls` ("/Game/X/Y.Default__Y_C").
std::string DefaultObjectPath(const Class& cls);

// Defines the native classes behind creatures, items and their parts.
void DefineCreatureAndItemClasses(Game& game);

// Registers UVictoryCore.StringReferenceToClass(FString&),
// UVictoryCore.GetClassDefaultObject(UClass*), UClass.GetDefaultObject(bool) and
// UObjectBaseUtility.GetPathName(UObject*,FString&).
void RegisterCatalogueMembers();

}  // namespace sim
