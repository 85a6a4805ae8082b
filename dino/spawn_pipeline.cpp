#include "dino/spawn_pipeline.h"

#include <algorithm>
#include <array>
#include <limits>

#include "config/config.h"
#include "dino/cryopod_data.h"
#include "dino/fertilized_egg.h"
#include "dino/stat_levels.h"
#include "host/game.h"
#include "host/items.h"
#include "host/members.h"
#include "host/text.h"

namespace kestrova {
namespace {

constexpr std::array<std::size_t, 6> kStatIndexOfPoint = {0, 1, 3, 4, 7, 8};

// Whether the game made the actor as a creature.
bool IsCreature(AActor* actor)
{
    UClass* actorClass = FieldOf(member::ClassPrivate, actor);
    return Call(member::IsChildOf, actorClass, CallStatic(member::DinoStaticClass));
}

FString PlayerCharacterName(AShooterPlayerController* controller)
{
    return Call(member::PlayerCharacterName, controller);
}

void TameToPlayer(APrimalDinoCharacter* creature, AShooterPlayerController* controller)
{
    FieldOf(member::TamingTeamID, creature) = FieldOf(member::TargetingTeam, controller);
    FieldOf(member::TamerString, creature) = PlayerCharacterName(controller);
    Call(member::SetTribeTamingDinoSettings, FieldOf(member::PlayerState, controller), creature);
    Call(member::TameDino, creature, controller, true, 0, true, true, false);
}

void MulticastProperty(APrimalDinoCharacter* creature, const char* property)
{
    Call(member::MulticastProperty, creature, MakeName(property, FNAME_Find), false);
}

void Imprint(APrimalDinoCharacter* creature, AShooterPlayerController* controller, float quality)
{
    FieldOf(member::ImprinterName, creature) = PlayerCharacterName(controller);
    FieldOf(member::ImprinterNetId, creature) = Call(member::UniqueNetId, controller);
    // The status component is fetched at each use; on a creature without one the
    // calls on it are skipped rather than made on nothing.
    if (UPrimalCharacterStatusComponent* status = StatusComponentOf(creature))
        FieldOf(member::DinoImprintingQuality, status) = quality;
    MulticastProperty(creature, "ImprinterName");
    MulticastProperty(creature, "ImprinterPlayerUniqueNetId");
    if (UPrimalCharacterStatusComponent* status = StatusComponentOf(creature))
        Call(member::ServerSyncReplicatedValues, status);
}

// The base level the points make, when the creature has a status component.
std::optional<int> ApplyStats(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                              const std::vector<std::int32_t>& statPoints)
{
    const std::optional<int> level = ApplyStatLevels(creature, controller, StatLevelList(statPoints));
    if (UPrimalCharacterStatusComponent* status = StatusComponentOf(creature))
        Call(member::SetAllStatsToMaximum, status);
    return level;
}

void Recolor(APrimalDinoCharacter* creature, const std::vector<std::int32_t>& colors)
{
    for (std::size_t region = 0; region < colors.size(); ++region)
        if (colors[region] != 0)
            Call(member::ForceUpdateColorSets, creature, static_cast<int>(region), colors[region]);
}

CreatureMade::Sex SetSex(APrimalDinoCharacter* creature, bool female)
{
    if (!ReadBit(member::UsesGender, creature))
        return CreatureMade::Sex::None;
    WriteBit(member::IsFemale, creature, female);
    return female ? CreatureMade::Sex::Female : CreatureMade::Sex::Male;
}

bool IsNoItemPath(const std::string& path) { return path.empty() || path == "\"\""; }

UPrimalItem* GiveInventoryItem(APrimalDinoCharacter* creature, const DinoSpawnOptions& options)
{
    UClass* itemClass = ClassFromReference(WithoutQuotes(options.InventoryItemPath));
    if (itemClass == nullptr)
        return nullptr;
    UPrimalInventoryComponent* inventory = FieldOf(member::MyInventoryComponent, creature);
    return AddNewItem(itemClass, inventory, /*equip=*/true, static_cast<float>(options.InventoryItemQuality),
                      ItemForm::GameChoice, nullptr);
}

// Hours of cryopod life as seconds; a value too large for 32 bits saturates
// instead of wrapping round to a negative life.
std::int32_t LifeSeconds(std::int32_t hours)
{
    const std::int64_t seconds = static_cast<std::int64_t>(hours) * 3600;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

void LimitCryopodLife(UPrimalItem* cryopod)
{
    if (!ConfigBool(kCryoLimitTimeKey, kCryoLimitTimeDefault))
        return;
    const std::int32_t hours = ConfigInt(kCryoLifeInHoursKey, kCryoLifeInHoursDefault);
    const float durability = FieldOf(member::ItemDurability, cryopod);
    Call(member::AddItemDurability, cryopod, static_cast<float>(LifeSeconds(hours)) - durability);
}

// Why the cryopod did not reach the player's inventory; nothing when it did.
std::optional<KeptReason> DeliverInCryopod(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                                           UClass* cryopodClass, UPrimalItem* inventoryItem)
{
    UPrimalItem* cryopod = AddNewItem(cryopodClass, nullptr, /*equip=*/false, 0.0f, ItemForm::GameChoice, nullptr);
    if (cryopod == nullptr)
        return KeptReason::NoCryopodClass;
    LimitCryopodLife(cryopod);

    FCustomItemData data;
    BuildCryopodData(data, creature, inventoryItem);
    Call(member::SetCustomItemData, cryopod, data);
    Call(member::UpdatedItem, cryopod, true, false);

    UPrimalInventoryComponent* inventory = Call(member::PlayerInventoryComponent, controller);
    if (inventory == nullptr)
        return KeptReason::NoInventory;
    if (Call(member::AddItemObject, inventory, cryopod) == nullptr)
        return KeptReason::InventoryFull;
    return std::nullopt;
}

std::optional<KeptReason> KeptBecause(EggPlace place)
{
    switch (place) {
    case EggPlace::NotMade: return KeptReason::EggNotMade;
    case EggPlace::NoInventory: return KeptReason::NoInventory;
    case EggPlace::InventoryFull: return KeptReason::InventoryFull;
    case EggPlace::Inventory: break;
    }
    return std::nullopt;
}

// What the options ask for, as the record of what was made starts out.
CreatureMade Asked(const DinoSpawnOptions& options)
{
    CreatureMade made;
    made.creature = options.BlueprintPath;
    if (options.Level > 0)
        made.level = options.Level;
    made.imprint = options.ImprintQuality;
    made.neuter = options.Neuter;
    for (std::size_t region = 0; region < made.colours.size() && region < options.Colors.size(); ++region)
        made.colours[region] = options.Colors[region];
    made.delivery = options.AsEgg ? Delivery::Egg : options.KeepInWorld ? Delivery::World : Delivery::Cryopod;
    if (!options.AsEgg && !IsNoItemPath(options.InventoryItemPath)) {
        made.inventoryItem = WithoutQuotes(options.InventoryItemPath);
        made.inventoryItemQuality = options.InventoryItemQuality;
    }
    return made;
}

Outcome Made(CreatureMade made, std::optional<KeptReason> kept)
{
    Outcome outcome;
    outcome.result = kept ? Outcome::Result::KeptInWorld : Outcome::Result::Delivered;
    outcome.kept = kept;
    outcome.creature = std::move(made);
    return outcome;
}

// The run from a spawned actor on; `made` says what it has made so far.
Outcome TameAndDeliver(AActor* actor, const DinoSpawnOptions& options, CreatureMade& made)
{
    if (!IsCreature(actor))
        return Outcome::Nothing(Stop{StopRule::NotACreature, kCreatureWord, options.BlueprintPath});
    auto* creature = static_cast<APrimalDinoCharacter*>(actor);
    AShooterPlayerController* controller = options.Controller;

    TameToPlayer(creature, controller);
    if (options.Neuter)
        Call(member::DoNeuter, creature);
    FieldOf(member::AbsoluteBaseLevel, creature) = options.Level;
    Call(member::BeginPlay, creature);
    if (options.ImprintQuality > 0.0f)
        Imprint(creature, controller, options.ImprintQuality);
    if (options.StatPoints.size() == 6)
        if (const std::optional<int> level = ApplyStats(creature, controller, options.StatPoints))
            made.level = level;
    if (options.Colors.size() == 6)
        Recolor(creature, options.Colors);
    if (!options.RandomGender)
        made.sex = SetSex(creature, options.Female != 0);

    // A delivery that fails leaves the creature tamed in the world, so the player
    // never loses it to a cryopod or egg that did not reach them.
    if (options.AsEgg) {
        EggPlace place = EggPlace::NotMade;
        ADroppedItem* egg = GiveFertilizedEgg(controller, creature, &place);
        if (place == EggPlace::Inventory)
            Call(member::ForceDestroy, creature);
        else if (egg != nullptr)
            Call(member::ForceDestroy, egg);  // no stray egg at the world's origin
        return Made(std::move(made), KeptBecause(place));
    }

    UPrimalItem* inventoryItem = IsNoItemPath(options.InventoryItemPath) ? nullptr : GiveInventoryItem(creature, options);
    made.inventoryItemMade = inventoryItem != nullptr;

    UClass* cryopodClass = ClassFromReference(ConfigString(kCryopodBPKey, kCryopodBPDefault));
    if (options.KeepInWorld)
        return Made(std::move(made), std::nullopt);
    if (cryopodClass == nullptr)
        return Made(std::move(made), KeptReason::NoCryopodClass);

    const std::optional<KeptReason> kept = DeliverInCryopod(creature, controller, cryopodClass, inventoryItem);
    if (!kept)
        Call(member::DestroyDino, creature, true, false);
    return Made(std::move(made), kept);
}

}  // namespace

std::vector<std::int32_t> StatLevelList(const std::vector<std::int32_t>& statPoints)
{
    std::vector<std::int32_t> levels(EPrimalCharacterStatusValue::MAX, 0);
    for (std::size_t point = 0; point < kStatIndexOfPoint.size() && point < statPoints.size(); ++point)
        levels[kStatIndexOfPoint[point]] = statPoints[point];
    return levels;
}

// By value: the run owns its options and releases them when it returns.
Outcome SpawnTamedDino(DinoSpawnOptions options)  // NOLINT(performance-unnecessary-value-param)
{
    FString path(options.BlueprintPath.c_str());
    AActor* actor = Call(member::SpawnActor, options.Controller, path, 100.0f, 0.0f, 0.0f, true);
    if (actor == nullptr)
        return Outcome::Nothing(Stop{StopRule::NoClass, kCreatureWord, options.BlueprintPath});
    CreatureMade made = Asked(options);
    try {
        return TameAndDeliver(actor, options, made);
    } catch (...) {
        // Whatever step failed, the creature it spawned is still in the world.
        made.delivery = Delivery::World;
        Outcome soFar;
        soFar.creature = std::move(made);
        RethrowWithWhatWasMade(std::move(soFar));
    }
}

}  // namespace kestrova
