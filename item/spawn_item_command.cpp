#include "item/spawn_item_command.h"

#include "host/game.h"
#include "host/items.h"
#include "host/members.h"
#include "host/stat_words.h"
#include "host/text.h"
#include "host/words.h"
#include "item/item_stats.h"

namespace kestrova {
namespace {

UPrimalInventoryComponent* PlayerInventory(AShooterPlayerController* controller)
{
    return Call(member::PlayerInventory, controller);
}

}  // namespace

void SpawnItemCommand(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    const TArray<FString> words = SplitWords(*line);
    if (words.Num() < 6 || !IsNumeric(words[3]) || !IsNumeric(words[4]) || !IsNumeric(words[5]))
        return;
    AShooterPlayerController* controller = AsShooterController(player);
    if (PlayerInventory(controller) == nullptr)
        return;

    const std::string itemBlueprint = ToNarrow(words[1]);
    const std::string secondBlueprint = ToNarrow(words[2]);
    const std::int32_t quality = ToInt(ToNarrow(words[3]));
    const bool formFlag = ToInt(ToNarrow(words[4])) == 1;
    const std::int32_t count = ToInt(ToNarrow(words[5]));

    UClass* secondClass = ClassFromReference(WithoutQuotes(secondBlueprint));
    UClass* itemClass = ClassFromReference(WithoutQuotes(itemBlueprint));
    // Without a class every repetition would do nothing; skipping them is the same.
    if (count < 1 || itemClass == nullptr)
        return;

    std::vector<UPrimalItem*> items;
    for (std::int32_t n = 0; n < count; ++n) {
        UPrimalItem* item = AddNewItem(itemClass, PlayerInventory(controller), false,
                                       static_cast<float>(quality), !formFlag, formFlag, secondClass);
        if (item == nullptr)
            continue;
        FieldOf(member::ItemQualityIndex, item) = static_cast<uint8>(quality & 0xFF);
        items.push_back(item);
    }
    if (items.empty())
        return;

    const ItemStatSlots slots = ParseStatWords<float, 5>(words, 6, ParseFloatOrRange);
    ApplyItemStats(items, slots[0], slots[1], slots[2], slots[3], slots[4]);
}

}  // namespace kestrova
