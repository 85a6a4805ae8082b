// /dinos: the creatures in the world, each whole with its own inventory, and
// what else lies there.
#include "console.h"
#include "console_commands.h"
#include "console_items.h"
#include "game/creature.h"
#include "game/dropped_item.h"
#include "game/game.h"

namespace sim {
namespace {

std::string SexOf(const Dino& dino)
{
    const std::string sex = dino.Flag(kIsFemaleBit) ? "female" : "male";
    // A creature without gender may still carry the flag; the game then ignores it.
    return dino.Flag(kUsesGenderBit) ? sex : "no sex (flag says " + sex + ")";
}

template <typename Values>
std::string PerStat(const Values& values)
{
    std::string shown;
    for (int i = 0; i < kStatusValueCount; ++i)
        shown += fmt::format("{}{} {}", i == 0 ? "" : "  ", StatName(i), static_cast<int>(values[i]));
    return shown;
}

template <typename Values>
bool AnyNonZero(const Values& values)
{
    for (int i = 0; i < kStatusValueCount; ++i)
        if (values[i] != 0)
            return true;
    return false;
}

void ShowCreature(std::ostream& out, const Dino& dino)
{
    out << fmt::format("  {}  level {}  {}  {}  {}  team {}  tamer \"{}\"\n", dino.label, dino.BaseLevel(), SexOf(dino),
                       dino.Flag(kNeuteredBit) ? "neutered" : "not neutered", dino.tamed ? "tamed" : "wild",
                       dino.TamingTeamID, ToUtf8(dino.TamerString.View()));
    out << fmt::format("      forced level {}, {}\n", dino.AbsoluteBaseLevel,
                       dino.begunPlay ? "begun play" : "not begun play");
    const StatusComponent* status = dino.statusComponent;
    const std::string imprintQuality =
        status != nullptr ? fmt::format("imprint quality {}", status->DinoImprintingQuality) : "no imprint quality";
    if (!dino.ImprinterName.IsEmpty() || !dino.ImprinterPlayerUniqueNetId.IsEmpty())
        out << fmt::format("      imprinter \"{}\" (net id {})  {}\n", ToUtf8(dino.ImprinterName.View()),
                           ToUtf8(dino.ImprinterPlayerUniqueNetId.View()), imprintQuality);
    else
        out << fmt::format("      not imprinted  {}\n", imprintQuality);
    if (status == nullptr) {
        out << "      no status component\n";
    } else {
        out << fmt::format("      points {}\n", PerStat(status->NumberOfLevelUpPointsApplied));
        if (AnyNonZero(status->NumberOfLevelUpPointsAppliedTamed))
            out << fmt::format("      tamed points {}\n", PerStat(status->NumberOfLevelUpPointsAppliedTamed));
        if (AnyNonZero(status->NumberOfMutationsAppliedTamed))
            out << fmt::format("      tamed mutations {}\n", PerStat(status->NumberOfMutationsAppliedTamed));
        if (dino.MyCharacterStatusComponent == nullptr)
            out << "      its field APrimalCharacter.MyCharacterStatusComponent reads null\n";
    }
    std::string colours;
    for (std::size_t i = 0; i < dino.colors.size(); ++i) {
        const std::string region =
            i < dino.entry->colorSetNames.size() ? dino.entry->colorSetNames[i] : fmt::format("region {}", i);
        colours += fmt::format("{}{}={}", i == 0 ? "" : " ", region, dino.colors[i]);
    }
    out << fmt::format("      colours {}\n", colours);
    if (dino.MyInventoryComponent != nullptr)
        ShowInventory(out, "      ", "inventory", *dino.MyInventoryComponent);
}

}  // namespace

void DinosCommand(Console& console, std::string_view)
{
    std::ostream& out = console.Out();
    std::string others;
    int creatures = 0;
    for (const Actor* actor : console.GetGame().Actors()) {
        if (const auto* dino = dynamic_cast<const Dino*>(actor)) {
            ShowCreature(out, *dino);
            ++creatures;
        } else if (const auto* dropped = dynamic_cast<const DroppedItem*>(actor)) {
            others += fmt::format("  {} holding {}\n", dropped->label, LabelOf(dropped->MyItem));
        } else {
            others += fmt::format("  {}\n", actor->label);
        }
    }
    if (creatures == 0)
        out << "No creatures in the world.\n";
    if (!others.empty())
        out << "Also in the world:\n" << others;
}

}  // namespace sim
