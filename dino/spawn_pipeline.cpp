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

APrimalDinoCharacter* Spawn(const DinoSpawnOptions& options)
{
    FString path(options.BlueprintPath.c_str());
    AActor* actor = Call(member::SpawnActor, options.Controller, path, 100.0f, 0.0f, 0.0f, true);
    if (actor == nullptr)
        return nullptr;
    UClass* actorClass = FieldOf(member::ClassPrivate, actor);
    if (!Call(member::IsChildOf, actorClass, CallStatic(member::DinoStaticClass)))
        return nullptr;
    return static_cast<APrimalDinoCharacter*>(actor);
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

void ApplyStats(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                const std::vector<std::int32_t>& statPoints)
{
    ApplyStatLevels(creature, controller, StatLevelList(statPoints));
    if (UPrimalCharacterStatusComponent* status = StatusComponentOf(creature))
        Call(member::SetAllStatsToMaximum, status);
}

void Recolor(APrimalDinoCharacter* creature, const std::vector<std::int32_t>& colors)
{
    for (std::size_t region = 0; region < colors.size(); ++region)
        if (colors[region] != 0)
            Call(member::ForceUpdateColorSets, creature, static_cast<int>(region), colors[region]);
}

void SetSex(APrimalDinoCharacter* creature, bool female)
{
    if (ReadBit(member::UsesGender, creature))
        WriteBit(member::IsFemale, creature, female);
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

// True when the cryopod reached the player's inventory.
bool DeliverInCryopod(APrimalDinoCharacter* creature, AShooterPlayerController* controller, UClass* cryopodClass,
                      UPrimalItem* inventoryItem)
{
    UPrimalItem* cryopod = AddNewItem(cryopodClass, nullptr, /*equip=*/false, 0.0f, ItemForm::GameChoice, nullptr);
    if (cryopod == nullptr)
        return false;
    LimitCryopodLife(cryopod);

    FCustomItemData data;
    BuildCryopodData(data, creature, inventoryItem);
    Call(member::SetCustomItemData, cryopod, data);
    Call(member::UpdatedItem, cryopod, true, false);

    UPrimalInventoryComponent* inventory = Call(member::PlayerInventoryComponent, controller);
    if (inventory == nullptr)
        return false;
    return Call(member::AddItemObject, inventory, cryopod) != nullptr;
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
void SpawnTamedDino(DinoSpawnOptions options)  // NOLINT(performance-unnecessary-value-param)
{
    AShooterPlayerController* controller = options.Controller;
    APrimalDinoCharacter* creature = Spawn(options);
    if (creature == nullptr)
        return;

    TameToPlayer(creature, controller);
    if (options.Neuter)
        Call(member::DoNeuter, creature);
    FieldOf(member::AbsoluteBaseLevel, creature) = options.Level;
    Call(member::BeginPlay, creature);
    if (options.ImprintQuality > 0.0f)
        Imprint(creature, controller, options.ImprintQuality);
    if (options.StatPoints.size() == 6)
        ApplyStats(creature, controller, options.StatPoints);
    if (options.Colors.size() == 6)
        Recolor(creature, options.Colors);
    if (!options.RandomGender)
        SetSex(creature, options.Female != 0);

    // A delivery that fails leaves the creature tamed in the world, so the player
    // never loses it to a cryopod or egg that did not reach them.
    if (options.AsEgg) {
        bool inInventory = false;
        ADroppedItem* egg = GiveFertilizedEgg(controller, creature, &inInventory);
        if (inInventory)
            Call(member::ForceDestroy, creature);
        else if (egg != nullptr)
            Call(member::ForceDestroy, egg);  // no stray egg at the world's origin
        return;
    }

    UPrimalItem* inventoryItem = IsNoItemPath(options.InventoryItemPath) ? nullptr : GiveInventoryItem(creature, options);

    UClass* cryopodClass = ClassFromReference(ConfigString(kCryopodBPKey, kCryopodBPDefault));
    if (options.KeepInWorld || cryopodClass == nullptr)
        return;

    if (DeliverInCryopod(creature, controller, cryopodClass, inventoryItem))
        Call(member::DestroyDino, creature, true, false);
}

}  // namespace kestrova
