#include "dino/fertilized_egg.h"

#include "host/game.h"
#include "host/members.h"
#include "host/text.h"

namespace kestrova {
namespace {

// "Blueprint'<path>'" for a default object's path, without a trailing "_C" and
// without any "Default__".
std::u16string EggReference(const FString& path)
{
    std::u16string_view asset = path.View();
    if (EndsWithIgnoringCase(asset, u"_C"))
        asset.remove_suffix(2);
    return RemoveIgnoringCase(u"Blueprint'" + std::u16string(asset) + u"'", u"Default__");
}

}  // namespace

ADroppedItem* GiveFertilizedEgg(AShooterPlayerController* controller, APrimalDinoCharacter* creature)
{
    const auto& eggClasses = Field<TArray<TSubclassOf<UPrimalItem>>>(creature, member::FertilizedEggItemsToSpawn);
    if (eggClasses.Num() == 0 || eggClasses[0].uClass == nullptr)
        return nullptr;

    UObject* eggDefaults = CallStatic<UObject*, UClass*>(member::GetClassDefaultObject, eggClasses[0].uClass);
    if (eggDefaults == nullptr)
        return nullptr;
    FString path;
    Call<void, UObject*, FString&>(member::GetPathName, eggDefaults, nullptr, path);

    FString reference(EggReference(path));
    UClass* eggClass = CallStatic<UClass*, FString&>(member::StringReferenceToClass, reference);
    if (eggClass == nullptr || Call<UObject*, bool>(member::GetDefaultObject, eggClass, true) == nullptr)
        return nullptr;

    // No dropped-item class of our own: the game uses its default one for the egg.
    ADroppedItem* egg =
        Call<ADroppedItem*, UE::Math::TVector<double>, UE::Math::TRotator<double>, TSubclassOf<ADroppedItem>, int,
             bool>(member::CreateCloneFertilizedEgg, creature, {}, {}, TSubclassOf<ADroppedItem>{}, 0, true);

    if (egg != nullptr) {
        if (auto* inventory = Call<UPrimalInventoryComponent*>(member::PlayerInventory, controller)) {
            UPrimalItem* eggItem = Field<UPrimalItem*>(egg, member::DroppedItemMyItem);
            Call<UPrimalItem*, UPrimalItem*>(member::AddItemObject, inventory, eggItem);
        }
    }
    return egg;
}

}  // namespace kestrova
