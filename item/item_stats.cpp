#include "item/item_stats.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/game.h"
#include "host/members.h"

namespace kestrova {
namespace {

constexpr int kDurabilityStat = EPrimalItemStat::MaxDurability;
constexpr std::uint32_t kUsesStat = 1u << 0;
constexpr std::uint32_t kAddHundredToBase = 1u << 2;

// Writes the stats this item uses; true when it received at least one value.
bool ApplyToItem(UPrimalItem* item, const std::array<std::pair<int, float>, 5>& stats)
{
    bool received = false;
    for (const auto& [k, v] : stats) {
        const FItemStatInfo& record = FieldOf(member::ItemStatInfos, item)[k];
        if (!(v > 0.0f) || (record.Flags & kUsesStat) == 0)
            continue;
        const float base = record.Base + ((record.Flags & kAddHundredToBase) ? 100.0f : 0.0f);
        FieldOf(member::ItemStatValues, item)[k] = ItemStatValue(k, v, base, record.FactorA, record.FactorB);
        if (k == kDurabilityStat) {
            FieldOf(member::ItemDurability, item) =
                Call(member::GetItemStatModifier, item, static_cast<EPrimalItemStat::Type>(kDurabilityStat));
        }
        received = true;
    }
    return received;
}

}  // namespace

std::uint16_t ItemStatValue(int statIndex, float value, float base, float a, float b)
{
    float x = (std::max(base, value) - base) / (base * a * b);
    if (statIndex == kDurabilityStat)
        x += 1.0f;
    if (x >= 65536.0f)
        x = 65535.0f;
    // A record whose factors make the division meaningless (zero, negative or not
    // finite) must not turn into an out-of-range conversion: keep it in 0..65535.
    if (!(x >= 0.0f))
        x = 0.0f;
    return static_cast<std::uint16_t>(x);
}

void ApplyItemStats(const std::vector<UPrimalItem*>& items, float stat1, float stat2, float stat3, float stat5,
                    float stat7)
{
    const std::array<std::pair<int, float>, 5> stats = {{{1, stat1}, {2, stat2}, {3, stat3}, {5, stat5}, {7, stat7}}};
    if (std::none_of(stats.begin(), stats.end(), [](const auto& stat) { return stat.second > 0.0f; }))
        return;
    for (UPrimalItem* item : items)
        if (ApplyToItem(item, stats))
            Call(member::UpdatedItem, item, false, false);
}

}  // namespace kestrova
