// /dinos: the creatures in the world, and what else lies there.
#include "console.h"
#include "console_commands.h"
#include "game/creature.h"
#include "game/dropped_item.h"
#include "game/game.h"

namespace sim {
namespace {

std::string SexOf(const Dino& dino)
{
    if (!dino.Flag(kUsesGenderBit))
        return "no sex";
    return dino.Flag(kIsFemaleBit) ? "female" : "male";
}

std::string DescribeCreature(const Dino& dino)
{
    std::string text = fmt::format("  {}  team {}  tamer \"{}\"  level {}", dino.label, dino.TamingTeamID,
                                   ToUtf8(dino.TamerString.View()), dino.AbsoluteBaseLevel);
    if (const StatusComponent* status = dino.MyCharacterStatusComponent)
        text += fmt::format(" (points level {})", status->BaseCharacterLevel);
    text += "  " + SexOf(dino);
    if (dino.Flag(kNeuteredBit))
        text += ", neutered";
    text += dino.tamed ? ", tamed" : ", wild";
    if (!dino.ImprinterName.IsEmpty())
        text += fmt::format(", imprinted on \"{}\"", ToUtf8(dino.ImprinterName.View()));
    return text + "\n";
}

}  // namespace

void DinosCommand(Console& console, std::string_view)
{
    std::ostream& out = console.Out();
    std::string others;
    int creatures = 0;
    for (const Actor* actor : console.GetGame().Actors()) {
        if (const auto* dino = dynamic_cast<const Dino*>(actor)) {
            out << DescribeCreature(*dino);
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
