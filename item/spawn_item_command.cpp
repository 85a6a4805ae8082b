#include "item/spawn_item_command.h"

#include "host/game.h"
#include "host/items.h"
#include "host/members.h"
#include "host/words.h"
#include "item/item_stats.h"
#include "item/spawn_item_grammar.h"

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
    const ItemLine parsed = ParseSpawnItem(CommandWords(line->View()));
    // Too few words or a word that is no number end the line before the game is
    // asked anything; a number that does not convert only after the inventory is.
    if (parsed.stop && !parsed.stop->IsConversion())
        return;
    AShooterPlayerController* controller = AsShooterController(player);
    if (PlayerInventory(controller) == nullptr)
        return;
    if (parsed.stop)
        parsed.stop->Throw();

    UClass* secondClass = ClassFromReference(parsed.secondReference);
    UClass* itemClass = ClassFromReference(parsed.itemReference);
    // Without a class every repetition would do nothing; skipping them is the same.
    if (parsed.count < 1 || itemClass == nullptr)
        return;

    const ItemForm form = parsed.FormFlag() ? ItemForm::Blueprint : ItemForm::Item;
    std::vector<UPrimalItem*> items;
    for (std::int32_t n = 0; n < parsed.count; ++n) {
        UPrimalItem* item = AddNewItem(itemClass, PlayerInventory(controller), /*equip=*/false,
                                       static_cast<float>(parsed.quality), form, secondClass);
        if (item == nullptr)
            continue;
        FieldOf(member::ItemQualityIndex, item) = static_cast<uint8>(parsed.quality & 0xFF);
        items.push_back(item);
    }
    if (items.empty())
        return;

    // The stat words are read once the items exist: one that fails its conversion
    // leaves them with their quality and no stat values.
    if (parsed.statStop)
        parsed.statStop->Throw();
    const ItemStatSlots slots = DrawItemStats(parsed.stats);
    ApplyItemStats(items, slots[0], slots[1], slots[2], slots[3], slots[4]);
}

}  // namespace kestrova
