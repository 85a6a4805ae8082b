#include "console_items.h"

#include <algorithm>
#include <vector>

#include <fmt/format.h>

#include "game/creature.h"
#include "game/item.h"
#include "game/journal_values.h"
#include "game/names.h"

namespace sim {
namespace {

constexpr std::string_view kStatNames[kStatusValueCount] = {"health", "stamina",     "torpidity", "oxygen",
                                                            "food",   "water",       "temperature", "weight",
                                                            "melee",  "speed",       "fortitude", "crafting"};

// The record stores status values 0 to 10; 11 never.
constexpr int kStoredStats = 11;

std::string Text(const FString& text) { return ToUtf8(text.View()); }

std::string StringAt(const FCustomItemData& data, int i) { return i < data.Strings.Num() ? Text(data.Strings[i]) : ""; }

std::string Quality(float asked, int index) { return fmt::format("quality {} (index {})", asked, index); }

template <typename Values>
std::string ItemStats(const Values& values)
{
    std::string shown;
    for (std::size_t k = 0; k < std::size_t{kItemStatCount}; ++k)
        shown += fmt::format("{}{}:{}", k == 0 ? "" : " ", k, values[k]);
    return shown;
}

std::string Species(const FCustomItemData& data)
{
    if (data.Classes.Num() == 0 || data.Classes[0] == nullptr)
        return "no class";
    const auto* cls = IsLiveObject(data.Classes[0]) ? dynamic_cast<const Class*>(reinterpret_cast<const Object*>(data.Classes[0]))
                                                    : nullptr;
    return cls != nullptr ? cls->name : DescribeGameObject(data.Classes[0]);
}

std::string Sex(const FCustomItemData& data)
{
    const std::string sex = StringAt(data, 4);
    return sex == "FEMALE" ? "female" : sex == "MALE" ? "male" : sex.empty() ? "no sex" : "sex \"" + sex + "\"";
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

// Eleven stored values from `first` on, by stat name; "" when the record has
// fewer floats.
std::string StoredStats(const FCustomItemData& data, int first)
{
    if (first < 0 || first + kStoredStats > data.Floats.Num())
        return "";
    std::string shown;
    for (int i = 0; i < kStoredStats; ++i)
        shown += fmt::format("{}{} {}", i == 0 ? "" : "  ", kStatNames[i], data.Floats[first + i]);
    return shown;
}

void ShowStoredCreature(std::ostream& out, const std::string& indent, const FCustomItemData& data)
{
    std::optional<CreatureRecord> record;
    if (data.ByteArrays.Num() > 0) {
        const TArray<uint8>& bytes = data.ByteArrays[0];
        record = DecodeCreature(bytes.GetData(), static_cast<std::size_t>(bytes.Num()));
    }
    const std::string level = record ? std::to_string(record->level) : "?";
    out << fmt::format("{}holds {}  level {}  {}  {}", indent, Species(data), level, Sex(data),
                       StringAt(data, 3) == "NEUTERED" ? "neutered" : "not neutered");
    if (record)
        out << fmt::format("  team {}  tamer \"{}\"", record->team, record->tamer);
    else
        out << "  (creature bytes the game cannot read)";
    out << fmt::format("  named \"{}\"\n", StringAt(data, 14));

    const std::string imprintQuality =
        data.Doubles.Num() == 7 ? fmt::format("imprint quality {}", data.Doubles[5]) : "imprint quality not stored";
    if (record && !record->imprinter.empty())
        out << fmt::format("{}imprinter \"{}\" (net id {})  {}\n", indent, record->imprinter, record->imprinterNetId,
                           imprintQuality);
    else
        out << fmt::format("{}not imprinted  {}\n", indent, imprintQuality);

    const int first = data.Floats.Num() == 57 ? static_cast<int>(data.Floats[56]) : 34;
    out << fmt::format("{}points {}\n", indent, StoredStats(data, first));
    // Tamed points are the game's own bookkeeping, shown only when there are any.
    const int tamedFirst = first + kStoredStats;
    bool anyTamed = false;
    for (int i = tamedFirst; i >= 0 && i < tamedFirst + kStoredStats && i < data.Floats.Num(); ++i)
        anyTamed = anyTamed || data.Floats[i] != 0.0f;
    if (anyTamed)
        out << fmt::format("{}tamed points {}\n", indent, StoredStats(data, tamedFirst));
    out << fmt::format("{}colours {}\n", indent, Colours(data));

    // With a carried item the record holds four byte arrays, its bytes second.
    if (data.ByteArrays.Num() == 4) {
        const TArray<uint8>& bytes = data.ByteArrays[1];
        if (const auto item = DecodeItem(bytes.GetData(), static_cast<std::size_t>(bytes.Num())))
            out << fmt::format("{}carrying {}  {}  durability {}  stats {}\n", indent, item->className,
                               Quality(item->askedQuality, item->qualityIndex), item->durability,
                               ItemStats(item->stats));
        else
            out << fmt::format("{}carrying an item the game cannot read\n", indent);
    } else {
        out << fmt::format("{}carrying nothing\n", indent);
    }
}

template <typename T, typename Show>
void ShowList(std::ostream& out, std::string_view name, const TArray<T>& list, Show show)
{
    out << fmt::format("    {} ({})\n", name, list.Num());
    for (int32 i = 0; i < list.Num(); ++i)
        out << fmt::format("      [{}] {}\n", i, show(list[i]));
}

std::string_view MadeAs(const Item& item)
{
    if (item.forcedItem)
        return item.forcedBlueprint ? "item and blueprint" : "item";
    return item.forcedBlueprint ? "blueprint" : "game's choice";
}

}  // namespace

std::string_view StatName(int index)
{
    return index >= 0 && index < kStatusValueCount ? kStatNames[index] : std::string_view("?");
}

void ShowItem(std::ostream& out, std::string_view indent, std::size_t number, const Item& item)
{
    out << fmt::format("{}{}. {}  {}  durability {}  stats {}  made as {}  second class {}\n", indent, number,
                       item.label, Quality(item.askedQuality, item.ItemQualityIndex), item.ItemDurability,
                       ItemStats(item.ItemStatValues), MadeAs(item),
                       item.secondClass != nullptr ? item.secondClass->name : "none");
    const std::string more = std::string(indent) + "     ";
    const std::string record = NameText(item.customData.DataName);
    if (record == "Dino")
        ShowStoredCreature(out, more, item.customData);
    else if (record != "None")
        out << fmt::format("{}carries a \"{}\" record\n", more, record);
}

void ShowInventory(std::ostream& out, std::string_view indent, std::string_view owner, const Inventory& inventory)
{
    out << fmt::format("{}{}: {} of {} slots\n", indent, owner, inventory.items.size(), inventory.maxSlots);
    const std::string inner = std::string(indent) + "  ";
    for (std::size_t i = 0; i < inventory.items.size(); ++i)
        ShowItem(out, inner, i + 1, *inventory.items[i]);
}

void ShowItemWhole(std::ostream& out, const Item& item)
{
    const FCustomItemData& data = item.customData;
    out << fmt::format("  record \"{}\"\n", NameText(data.DataName));
    ShowList(out, "Strings", data.Strings, [](const FString& text) { return fmt::format("\"{}\"", Text(text)); });
    ShowList(out, "Floats", data.Floats, [](float value) { return fmt::format("{}", value); });
    ShowList(out, "ReservedList", data.ReservedList, [](unsigned long long value) { return fmt::format("{}", value); });
    ShowList(out, "Classes", data.Classes, [](UClass* cls) { return DescribeGameObject(cls); });
    ShowList(out, "Names", data.Names, [](FName name) { return NameText(name); });
    ShowList(out, "ByteArrays", data.ByteArrays, [](const TArray<uint8>& bytes) {
        const std::string_view raw(reinterpret_cast<const char*>(bytes.GetData()), static_cast<std::size_t>(bytes.Num()));
        return fmt::format("{} bytes{}{}", raw.size(), raw.empty() ? "" : " ", HexOf(raw));
    });
    ShowList(out, "Doubles", data.Doubles, [](double value) { return fmt::format("{}", value); });
}

}  // namespace sim
