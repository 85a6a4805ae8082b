// Creatures: spawned from catalogue classes, tamed, levelled, coloured, and
// turned into eggs or packed away by the plugin.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FString.h"
#include "GameClasses.h"
#include "catalogue.h"
#include "inventory.h"
#include "status_component.h"
#include "world.h"

namespace sim {

class Game;

// Positions of the creature's flags in its flag word.
inline constexpr std::uint32_t kUsesGenderBit = 3;
inline constexpr std::uint32_t kIsFemaleBit = 5;
inline constexpr std::uint32_t kNeuteredBit = 6;

class Dino : public Actor {
public:
    Dino(Class* cls, std::string objectLabel, World* actorWorld, const CreatureEntry& species);

    const CreatureEntry* entry = nullptr;
    std::int32_t TamingTeamID = 0;
    FString TamerString;
    std::int32_t AbsoluteBaseLevel = 0;  // a forced level; 0: none
    FString ImprinterName;
    FString ImprinterPlayerUniqueNetId;
    double BabyNextCuddleTime = 0;
    double NextAllowedMatingTime = 0;
    std::int32_t RandomMutationsMale = 0;
    std::int32_t RandomMutationsFemale = 0;
    std::uint8_t TamedAggressionLevel = 2;
    TArray<TSubclassOf<UPrimalItem>> FertilizedEggItemsToSpawn;
    StatusComponent* MyCharacterStatusComponent = nullptr;  // APrimalCharacter.; null for some (world file)
    StatusComponent* statusComponent = nullptr;             // the creature's own, as GetCharacterStatusComponent() gives it
    Inventory* MyInventoryComponent = nullptr;              // APrimalCharacter.
    std::uint32_t flags = 0;                                // bUsesGender, bIsFemale, bNeutered
    std::array<int, 6> colors{};                            // colour per region

    bool tamed = false;
    bool begunPlay = false;
    bool destroyed = false;

    // The level the game shows: the status component's base level, which follows
    // a forced level when the creature begins play and its points after that;
    // without a status component, the forced level (or 1).
    std::int32_t BaseLevel() const;

    bool Flag(std::uint32_t bit) const { return ((flags >> bit) & 1u) != 0; }
    void SetFlag(std::uint32_t bit, bool set) { flags = set ? (flags | (1u << bit)) : (flags & ~(1u << bit)); }

    // Frees what the creature holds and destroys the items it carries.
    void Release();
    std::int64_t HeldBlocks() const;
};

// What GetDinoData writes as the creature's bytes: "DINO", then the base level,
// the taming team, the flag word and the six colours, each 32 bits, low byte
// first; then the imprint quality (a 32-bit float) and the tamer's name, the
// imprinter's name and the imprinter's net id, each as its UTF-8 length (32
// bits) and its UTF-8 bytes.
struct CreatureRecord {
    std::int32_t level = 0;
    std::int32_t team = 0;
    std::uint32_t flags = 0;
    std::array<std::int32_t, 6> colors{};
    float imprintQuality = 0;
    std::string tamer;
    std::string imprinter;
    std::string imprinterNetId;
};
std::vector<std::uint8_t> EncodeCreature(const Dino& dino);
std::optional<CreatureRecord> DecodeCreature(const std::uint8_t* bytes, std::size_t size);

// A new creature of `entry`'s class in the world, with its status component (if
// the class has one), inventory and egg classes, and what its world entry sets.
// Unless the entry gives a sex, where the class uses gender the sex alternates,
// male first, from one spawn to the next.
Dino& SpawnCreature(Game& game, const CreatureEntry& entry);

// Takes an actor out of the world; a creature also lets go of what it holds.
void DestroyActor(Game& game, Actor& actor, std::string_view member);

// Registers the creature members, SpawnActor and SetTribeTamingDinoSettings.
void RegisterCreatureMembers();

// What the game does for "ClientNotifyLevelUp" and "NetSyncMaxStatusValues", and
// the property names the creature replicates.
void SetUpCreatureEvents(Game& game);

}  // namespace sim
