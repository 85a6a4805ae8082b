#include "dino/fertilized_egg.h"

#include "host/game.h"
#include "host/members.h"
#include "host/text.h"

namespace kestrova {

WideString EggReference(WideView path)
{
    WideView asset = path;
    if (EndsWithIgnoringCase(asset, WTEXT("_C")))
        asset.remove_suffix(2);
    return RemoveIgnoringCase(WTEXT("Blueprint'") + WideString(asset) + WTEXT("'"), WTEXT("Default__"));
}

ADroppedItem* GiveFertilizedEgg(AShooterPlayerController* controller, APrimalDinoCharacter* creature,
                                EggPlace* place)
{
    EggPlace ignored = EggPlace::NotMade;
    EggPlace& where = place != nullptr ? *place : ignored;
    where = EggPlace::NotMade;
    const auto& eggClasses = FieldOf(member::FertilizedEggItemsToSpawn, creature);
    if (eggClasses.Num() == 0 || eggClasses[0].uClass == nullptr)
        return nullptr;

    UObject* eggDefaults = CallStatic(member::GetClassDefaultObject, eggClasses[0].uClass);
    if (eggDefaults == nullptr)
        return nullptr;
    FString path;
    Call(member::GetPathName, eggDefaults, nullptr, path);

    FString reference(EggReference(path.View()));
    UClass* eggClass = CallStatic(member::StringReferenceToClass, reference).uClass;
    if (eggClass == nullptr || Call(member::GetDefaultObject, eggClass, true) == nullptr)
        return nullptr;

    // No dropped-item class of our own: the game uses its default one for the egg.
    ADroppedItem* egg = Call(member::CreateCloneFertilizedEgg, creature, UE::Math::TVector<double>{},
                             UE::Math::TRotator<double>{}, TSubclassOf<ADroppedItem>{}, 0, true);

    if (egg == nullptr)
        return nullptr;
    auto* inventory = Call(member::PlayerInventory, controller);
    if (inventory == nullptr)
        where = EggPlace::NoInventory;
    else if (Call(member::AddItemObject, inventory, FieldOf(member::DroppedItemMyItem, egg)) != nullptr)
        where = EggPlace::Inventory;
    else
        where = EggPlace::InventoryFull;
    return egg;
}

}  // namespace kestrova
