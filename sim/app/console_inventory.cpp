// /inventory: a player's items, and the creature that a cryopod's record holds.
#include "console.h"
#include "console_commands.h"
#include "game/creature.h"
#include "game/game.h"
#include "game/item.h"
#include "game/names.h"

namespace sim {
namespace {

constexpr int kShownStats[] = {1, 2, 3, 5, 7};

std::string Text(const FString& text) { return ToUtf8(text.View()); }

std::string StringAt(const FCustomItemData& data, int i) { return i < data.Strings.Num() ? Text(data.Strings[i]) : ""; }

std::string Species(const FCustomItemData& data)
{
    if (data.Classes.Num() == 0 || data.Classes[0] == nullptr)
        return "no class";
    return reinterpret_cast<const Class*>(data.Classes[0])->name;
}

std::string Level(const FCustomItemData& data)
{
    if (data.ByteArrays.Num() > 0) {
        const TArray<uint8>& bytes = data.ByteArrays[0];
        if (const auto record = DecodeCreature(bytes.GetData(), static_cast<std::size_t>(bytes.Num())))
            return std::to_string(record->level);
    }
    return "?";
}

std::string Sex(const FCustomItemData& data)
{
    const std::string sex = StringAt(data, 4);
    return sex.empty() ? "no sex" : sex;
}

std::string Imprint(const FCustomItemData& data)
{
    if (data.Doubles.Num() == 7)
        return fmt::format("imprint {}", data.Doubles[5]);
    return "no imprint (no status component)";
}

// Region by region: the class's colour set name, if it has one, and the colour
// from the index text.
std::string Colours(const FCustomItemData& data)
{
    std::vector<std::string> indices;
    const std::string text = StringAt(data, 2);
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        indices.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    // The names end with "MissionTemporary" and "None", which are no colour sets.
    const int names = std::max(0, data.Names.Num() - 2);
    std::string shown;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const std::string name = static_cast<int>(i) < names ? NameText(data.Names[static_cast<int32>(i)])
                                                              : fmt::format("region {}", i);
        shown += fmt::format("{}{}={}", shown.empty() ? "" : " ", name, indices[i]);
    }
    return shown;
}

std::string Points(const FCustomItemData& data)
{
    int first = 34;
    if (data.Floats.Num() == 57)
        first = static_cast<int>(data.Floats[56]);
    std::string shown;
    for (int i = first; i < first + 11 && i >= 0 && i < data.Floats.Num(); ++i)
        shown += fmt::format("{}{}", shown.empty() ? "" : " ", data.Floats[i]);
    return shown;
}

// The item the creature carried, when the record holds its bytes (class name first).
std::string CarriedItem(const FCustomItemData& data)
{
    if (data.ByteArrays.Num() != 4)
        return "";
    const TArray<uint8>& bytes = data.ByteArrays[1];
    std::string name;
    for (const uint8 byte : bytes) {
        if (byte == 0)
            break;
        name += static_cast<char>(byte);
    }
    return fmt::format("  carrying {}", name.empty() ? "an item" : name);
}

void ShowStoredCreature(std::ostream& out, const FCustomItemData& data)
{
    out << fmt::format("      holds {}  level {}  {}  {}  {}{}\n", Species(data), Level(data), Sex(data),
                       StringAt(data, 3) == "NEUTERED" ? "neutered" : "not neutered", Imprint(data), CarriedItem(data));
    out << fmt::format("      colours {}\n", Colours(data));
    out << fmt::format("      points {}\n", Points(data));
}

void ShowItem(std::ostream& out, std::size_t number, const Item& item)
{
    std::string stats;
    for (const int k : kShownStats)
        stats += fmt::format("{}{}:{}", stats.empty() ? "" : " ", k, item.ItemStatValues[k]);
    out << fmt::format("  {}. {}  quality index {}  stats {}  durability {}  made with sixth={} eighth={}\n", number,
                       item.label, item.ItemQualityIndex, stats, item.ItemDurability, item.sixthFlag, item.eighthFlag);
    const std::string record = NameText(item.customData.DataName);
    if (record == "Dino")
        ShowStoredCreature(out, item.customData);
    else if (record != "None")
        out << fmt::format("      carries a \"{}\" record\n", record);
}

}  // namespace

void InventoryCommand(Console& console, std::string_view args)
{
    PlayerController* player = console.Current();
    if (!args.empty() && (!console.FindIssuer(args, player))) {
        console.Out() << "No player with id " << args << "\n";
        return;
    }
    if (player == nullptr) {
        console.Out() << "Usage: /inventory ID (the server has no inventory)\n";
        return;
    }
    std::ostream& out = console.Out();
    const Inventory* inventory = player->inventory;
    if (inventory == nullptr) {
        out << Console::Describe(player) << " has no inventory.\n";
        return;
    }
    out << fmt::format("{}: {} of {} slots\n", Console::Describe(player), inventory->items.size(), inventory->maxSlots);
    for (std::size_t i = 0; i < inventory->items.size(); ++i)
        ShowItem(out, i + 1, *inventory->items[i]);
}

}  // namespace sim
