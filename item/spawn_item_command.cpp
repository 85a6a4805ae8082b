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

ItemsMade Asked(const ItemLine& parsed)
{
    ItemsMade made;
    made.item = parsed.itemReference;
    made.second = parsed.secondReference;
    made.quality = parsed.quality;
    made.formFlag = parsed.FormFlag();
    made.count = parsed.count;
    return made;
}

Outcome Partly(ItemsMade made, Stop stop)
{
    Outcome outcome;
    outcome.result = Outcome::Result::Partly;
    outcome.stop = std::move(stop);
    outcome.items = std::move(made);
    return outcome;
}

// The game made none of the items: either the class is no item, or the
// inventory had no room. Asked only once nothing was made.
StopRule WhyNoneWasMade(UClass* itemClass)
{
    return Call(member::IsChildOf, itemClass, CallStatic(member::ItemStaticClass)) ? StopRule::InventoryFull
                                                                                   : StopRule::NotAnItem;
}

// Makes the items, one by one into `items`, and writes their stats.
Outcome MakeItems(AShooterPlayerController* controller, const ItemLine& parsed, ItemForm form, UClass* itemClass,
                  UClass* secondClass, const CommandWords& words, std::vector<UPrimalItem*>& items)
{
    for (std::int32_t n = 0; n < parsed.count; ++n) {
        UPrimalItem* item = AddNewItem(itemClass, PlayerInventory(controller), /*equip=*/false,
                                       static_cast<float>(parsed.quality), form, secondClass);
        if (item == nullptr)
            continue;
        items.push_back(item);
        FieldOf(member::ItemQualityIndex, item) = static_cast<uint8>(parsed.quality & 0xFF);
    }
    if (items.empty()) {
        if (WhyNoneWasMade(itemClass) == StopRule::InventoryFull)
            return Outcome::Nothing({StopRule::InventoryFull});
        return Outcome::Nothing(Stop{StopRule::NotAnItem, kItemWord, parsed.itemReference});
    }

    ItemsMade made = Asked(parsed);
    made.made = static_cast<std::int32_t>(items.size());
    // The stat words are read once the items exist: one that fails its conversion
    // leaves them with their quality and no stat values.
    if (parsed.statStop)
        return Partly(std::move(made), StopOf(*parsed.statStop, words));
    const ItemStatSlots slots = DrawItemStats(parsed.stats);
    ApplyItemStats(items, slots[0], slots[1], slots[2], slots[3], slots[4]);
    made.stats = slots;
    if (made.made < made.count)
        return Partly(std::move(made), {StopRule::InventoryFull});
    Outcome outcome;
    outcome.result = Outcome::Result::Delivered;
    outcome.items = std::move(made);
    return outcome;
}

}  // namespace

Outcome SpawnItem(APlayerController* player, const FString& line)
{
    if (player == nullptr)
        return Outcome::Nothing({StopRule::NoPlayer});
    const CommandWords words(line.View());
    const ItemLine parsed = ParseSpawnItem(words);
    // Too few words or a word that is no number end the line before the game is
    // asked anything; a number that does not convert only after the inventory is.
    if (parsed.stop && !parsed.stop->IsConversion())
        return Outcome::Nothing(StopOf(*parsed.stop, words));
    AShooterPlayerController* controller = AsShooterController(player);
    if (PlayerInventory(controller) == nullptr)
        return Outcome::Nothing({StopRule::NoInventory});
    if (parsed.stop)
        return Outcome::Nothing(StopOf(*parsed.stop, words));

    UClass* secondClass = ClassFromReference(parsed.secondReference);
    UClass* itemClass = ClassFromReference(parsed.itemReference);
    if (parsed.count < 1)
        return Outcome::Nothing(StopAt(StopRule::CountBelowOne, words, kCountWord));
    // Without a class every repetition would do nothing; skipping them is the same.
    if (itemClass == nullptr)
        return Outcome::Nothing(Stop{StopRule::NoClass, kItemWord, parsed.itemReference});

    const ItemForm form = parsed.FormFlag() ? ItemForm::Blueprint : ItemForm::Item;
    std::vector<UPrimalItem*> items;
    try {
        return MakeItems(controller, parsed, form, itemClass, secondClass, words, items);
    } catch (...) {
        if (items.empty())
            throw;
        // The items already in the inventory are the player's: the outcome says so.
        ItemsMade made = Asked(parsed);
        made.made = static_cast<std::int32_t>(items.size());
        Outcome soFar;
        soFar.items = std::move(made);
        RethrowWithWhatWasMade(std::move(soFar));
    }
}

}  // namespace kestrova
