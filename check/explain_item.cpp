// KV.SpawnItem, word by word.
#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "check/explain.h"
#include "item/spawn_item_grammar.h"

namespace kestrova::check {
namespace {

enum class Role { Name, Item, Second, Quality, Form, Count, Stat, Unread };

// Above this count a line is worth a warning: every item is one request to the game.
constexpr std::int32_t kManyItems = 1000;

struct ItemStat {
    int index;  // EPrimalItemStat
    const char* name;
};

// The stats the five stat words are for, in order.
constexpr std::array<ItemStat, 5> kItemStats = {{{EPrimalItemStat::Armor, "armor"},
                                                 {EPrimalItemStat::MaxDurability, "durability"},
                                                 {EPrimalItemStat::WeaponDamagePercent, "weapon damage"},
                                                 {EPrimalItemStat::HypothermalInsulation, "hypothermal insulation"},
                                                 {EPrimalItemStat::HyperthermalInsulation, "hyperthermal insulation"}}};

std::string StatName(int slot)
{
    const ItemStat& stat = kItemStats[static_cast<std::size_t>(slot)];
    return fmt::format("item stat {} ({})", stat.index, stat.name);
}

// "item stats 3, 5 and 7"
std::string StatsFrom(int slot)
{
    if (slot == 4)
        return "item stat 7";
    std::string list = "item stats";
    for (int s = slot; s < 5; ++s)
        list += fmt::format("{}{}",
                            s == slot ? " "
                            : s == 4  ? " and "
                                      : ", ",
                            kItemStats[static_cast<std::size_t>(s)].index);
    return list;
}

class ItemExplainer {
public:
    ItemExplainer(const TArray<FString>& words, const Recipient& who, const World* world, const Numbering& numbering)
        : words_(words), who_(who), numbering_(numbering), line_(ParseSpawnItem(CommandWords(words)))
    {
        // The references are read only once the numeric words pass their test.
        if (world != nullptr && (!line_.stop || line_.stop->IsConversion())) {
            item_ = world->Class(line_.itemReference);
            second_ = world->Class(line_.secondReference);
        }
    }

    Reading Explain()
    {
        Reading reading;
        for (int i = 0; i < words_.Num(); ++i) {
            WordNote note{numbering_.Typed(i), Utf8(words_[i]), {}, WordReading(i)};
            if (numbering_.shift > 0 && i > 0)
                note.as = fmt::format("KV.SpawnItem word {}", i);
            reading.words.push_back(std::move(note));
        }
        Decide(reading);
        return reading;
    }

private:
    static Role RoleOf(int word)
    {
        using enum Role;
        static constexpr std::array kRoles = {Name, Item, Second, Quality, Form, Count};
        if (word < kFirstItemStatWord)
            return kRoles[static_cast<std::size_t>(word)];
        return word < kFirstItemStatWord + 5 ? Stat : Unread;
    }

    static std::string RoleName(int word)
    {
        switch (RoleOf(word)) {
        case Role::Name: return "the command name";
        case Role::Item: return "the item's blueprint reference";
        case Role::Second: return "the second blueprint reference";
        case Role::Quality: return "the quality";
        case Role::Form: return "the form flag, set only by 1";
        case Role::Count: return "the count";
        case Role::Stat: return StatName(word - kFirstItemStatWord) + ", a number or a range";
        case Role::Unread: return "not read";
        }
        return {};
    }

    std::string WordReading(int word) const
    {
        if (word == 0)
            return RoleName(0);
        // The stat words are read only once there are items, so only then can they stop.
        const std::optional<LineStop>& stop = line_.stop || line_.count < 1 ? line_.stop : line_.statStop;
        if (!stop)
            return FullReading(word);
        switch (stop->rule) {
        case LineStop::Rule::TooFewWords: return RoleName(word);
        case LineStop::Rule::NotNumeric:
            return word == stop->word ? RoleName(word) + "; not a number, so the line stops here" : RoleName(word);
        case LineStop::Rule::DoesNotConvert:
            if (word < stop->word)
                return FullReading(word);
            if (word == stop->word)
                return RoleName(word) + fmt::format("; a number, but its conversion fails (\"{}\"), so {}",
                                                    stop->message,
                                                    line_.stop ? "the line stops here"
                                                               : "the command ends here once the items are made");
            return RoleName(word) + "; not read";
        }
        return {};
    }

    std::string Reference(const std::string& read, const FString& word) const
    {
        return read != Utf8(word) ? ", read as " + Code(read) : std::string();
    }

    std::string FullReading(int word) const
    {
        const FString& text = words_[word];
        switch (RoleOf(word)) {
        case Role::Name: return RoleName(word);
        case Role::Item: {
            std::string reading = RoleName(word) + Reference(line_.itemReference, text);
            if (item_) {
                reading += "; it " + ClassPhrase(*item_);
                if (item_->kind != ClassFacts::Kind::Item)
                    reading += ", so nothing is created";
            }
            return reading;
        }
        case Role::Second: {
            std::string reading = RoleName(word) + Reference(line_.secondReference, text);
            if (second_)
                reading += "; it " + ClassPhrase(*second_) +
                           (second_->kind == ClassFacts::Kind::None ? ", which is allowed: the game gets none" : "");
            return reading;
        }
        case Role::Quality:
            return fmt::format("the quality, {}{}; the quality index becomes {}{}", line_.quality,
                               ReadsAs(text, line_.quality), line_.quality & 0xFF,
                               (line_.quality & 0xFF) == line_.quality ? "" : " (its low 8 bits)");
        case Role::Form:
            return fmt::format("the form flag: {}{}", line_.FormFlag() ? "set" : "not set, only 1 sets it",
                               ReadsAs(text, line_.formValue));
        case Role::Count:
            return fmt::format(
                "the count, {}{}{}", line_.count, ReadsAs(text, line_.count),
                line_.count < 1 ? ": below 1, so nothing is created and the stat words are not read" : "");
        case Role::Stat:
            if (line_.count < 1)
                return RoleName(word) + "; not read, as the count is below 1";
            return StatReading(word);
        case Role::Unread: return "not read: there are five stat words";
        }
        return {};
    }

    std::string StatReading(int word) const
    {
        const int slot = word - kFirstItemStatWord;
        const StatWord& stat = line_.stats.slots[static_cast<std::size_t>(slot)];
        const std::string name = StatName(slot);
        switch (stat.kind) {
        case StatWord::Kind::Number: {
            const float value = static_cast<float>(stat.low);
            std::string reading = fmt::format("{}: {}", name, NumberText(value));
            if (NumberText(value) != Utf8(words_[word]))
                reading += fmt::format(" ({} reads so)", Code(Utf8(words_[word])));
            if (!(value > 0.0f))
                reading += ", which is not written: only values above 0 are";
            return reading;
        }
        case StatWord::Kind::Range: {
            std::string reading =
                fmt::format("{}: drawn at random between {} and {}, once for all the items", name,
                            NumberText(static_cast<float>(stat.low)), NumberText(static_cast<float>(stat.high)));
            if (!(stat.low > 0.0) && !(stat.high > 0.0))
                reading += "; never above 0, so never written";
            return reading;
        }
        case StatWord::Kind::BadRange:
            return BadRangeReading("item stat " + std::to_string(kItemStats[static_cast<std::size_t>(slot)].index));
        case StatWord::Kind::Ends: return EndsReading(StatsFrom(slot), slot < 4);
        case StatWord::Kind::Absent:
            return fmt::format("{}; not read: the stat words ended at {}", name, numbering_.Word(line_.stats.ended));
        }
        return {};
    }

    // A stop at `word` of the plain command's line (-1: none), read as the command reads it.
    void StopAt(Reading& reading, StopRule rule, int word, std::string reason) const
    {
        std::string text;
        if (word == kItemWord)
            text = line_.itemReference;
        else if (word >= 0)
            text = ToNarrow(words_[word]);
        reading.stop = Note(numbering_.Typed(Stop(rule, word, std::move(text))), std::move(reason));
    }

    void Decide(Reading& reading) const
    {
        const std::string consequence = "the line does nothing: nothing is created";
        const auto role = [](int word) { return RoleName(word); };
        reading.result = Outcome::Result::Nothing;
        if (who_.kind == Recipient::Kind::Nobody) {
            StopAt(reading, StopRule::NoPlayer, -1,
                   "no player issues it (the server's console), so the command returns at once");
            return;
        }
        if (line_.stop && !line_.stop->IsConversion()) {
            reading.stop = GrammarStop(*line_.stop, words_, "KV.SpawnItem", numbering_, consequence, role);
            return;
        }
        if (who_.facts && !who_.facts->hasInventory) {
            StopAt(reading, StopRule::NoInventory, -1, who_.label + " has no inventory, so the command does nothing");
            return;
        }
        if (!who_.facts)
            reading.unchecked.push_back(fmt::format("whether {} has an inventory with room", who_.label));
        if (line_.stop) {
            reading.stop = GrammarStop(*line_.stop, words_, "KV.SpawnItem", numbering_, consequence, role);
            return;
        }
        reading.spawn = Spawn();
        if (line_.count < 1) {
            StopAt(reading, StopRule::CountBelowOne, kCountWord,
                   fmt::format("the count ({}) is below 1, so nothing is created", numbering_.Word(kCountWord)));
            return;
        }
        if (item_ && item_->kind != ClassFacts::Kind::Item) {
            if (item_->kind == ClassFacts::Kind::None)
                StopAt(reading, StopRule::NoClass, kItemWord,
                       numbering_.Word(kItemWord) + " names nothing in this world, so nothing is created");
            else
                StopAt(reading, StopRule::NotAnItem, kItemWord,
                       fmt::format("{} names {}, which is not an item, so the game creates nothing",
                                   numbering_.Word(kItemWord), item_->name));
            return;
        }
        if (!item_)
            reading.unchecked.push_back(fmt::format("whether {} names an item (no world given)", numbering_.Word(1)));
        if (who_.facts && who_.facts->freeSlots < 1) {
            StopAt(reading, StopRule::InventoryFull, -1,
                   "the inventory of " + who_.label + " is full, so the game creates none of the items");
            return;
        }

        const int made = who_.facts ? std::min(line_.count, who_.facts->freeSlots) : line_.count;
        reading.spawn["made"] = made;
        if (line_.count > kManyItems)
            reading.notes.push_back(
                fmt::format("the command asks the game for each item in turn, with no upper "
                            "bound: {} requests, on the thread the whole server runs on, even "
                            "once the inventory is full",
                            line_.count));
        reading.outcome = fmt::format("creates {} {} of quality {} (quality index {}) in the inventory of {}", made,
                                      item_       ? item_->name
                                      : made == 1 ? std::string("item")
                                                  : std::string("items"),
                                      line_.quality, line_.quality & 0xFF, who_.label);
        if (made < line_.count)
            reading.outcome += fmt::format(" (of the {} asked for: it has room for no more)", line_.count);
        if (second_ && second_->kind != ClassFacts::Kind::None)
            reading.outcome += ", with the second class " + second_->name;
        if (line_.statStop) {
            reading.verdict = Verdict::SpawnsThenStops;
            reading.result = Outcome::Result::Partly;
            reading.stop = GrammarStop(*line_.statStop, words_, "KV.SpawnItem", numbering_,
                                       "the command ends there, after the items were made: they keep their quality "
                                       "and get no stat values",
                                       role);
            reading.outcome += "; then a stat word ends the command, and the items get no stat values";
            return;
        }
        reading.verdict = Verdict::Spawns;
        reading.result = Outcome::Result::Delivered;
        if (made < line_.count) {
            // The items it has room for are made, and the command stops short of the rest.
            reading.result = Outcome::Result::Partly;
            StopAt(reading, StopRule::InventoryFull, -1,
                   fmt::format("the inventory of {} has room for {} of the {} items, so the game makes no more",
                               who_.label, made, line_.count));
        }
        reading.outcome += StatsOutcome();
    }

    std::string StatsOutcome() const
    {
        std::vector<std::string> written;
        for (int slot = 0; slot < 5; ++slot) {
            const StatWord& stat = line_.stats.slots[static_cast<std::size_t>(slot)];
            const char* name = kItemStats[static_cast<std::size_t>(slot)].name;
            if (stat.kind == StatWord::Kind::Number && stat.low > 0.0)
                written.push_back(fmt::format("{} {}", name, NumberText(static_cast<float>(stat.low))));
            else if (stat.kind == StatWord::Kind::Range && (stat.low > 0.0 || stat.high > 0.0))
                written.push_back(fmt::format("{} drawn between {} and {}", name,
                                              NumberText(static_cast<float>(stat.low)),
                                              NumberText(static_cast<float>(stat.high))));
        }
        if (written.empty())
            return ", with no stat values (none above 0)";
        std::string outcome = ", each with";
        for (std::size_t i = 0; i < written.size(); ++i)
            outcome += (i == 0 ? " " : i + 1 == written.size() ? " and " : ", ") + written[i];
        return outcome + " where the item uses that stat";
    }

    nlohmann::json Spawn() const
    {
        nlohmann::json stats = nlohmann::json::array();
        for (int slot = 0; slot < 5; ++slot) {
            const StatWord& stat = line_.stats.slots[static_cast<std::size_t>(slot)];
            nlohmann::json entry = {{"itemStat", kItemStats[static_cast<std::size_t>(slot)].index}};
            if (stat.kind == StatWord::Kind::Range) {
                entry["from"] = static_cast<float>(stat.low);
                entry["to"] = static_cast<float>(stat.high);
            } else {
                entry["value"] = stat.kind == StatWord::Kind::Number ? static_cast<float>(stat.low) : 0.0f;
            }
            stats.push_back(std::move(entry));
        }
        return {{"item", line_.itemReference},
                {"second", line_.secondReference},
                {"quality", line_.quality},
                {"qualityIndex", line_.quality & 0xFF},
                {"formFlag", line_.FormFlag()},
                {"count", line_.count},
                {"made", 0},
                {"stats", line_.statStop ? nlohmann::json() : std::move(stats)}};
    }

    const TArray<FString>& words_;
    const Recipient& who_;
    const Numbering& numbering_;
    ItemLine line_;
    std::optional<ClassFacts> item_;  // known when checked in a world
    std::optional<ClassFacts> second_;
};

}  // namespace

Reading ExplainSpawnItem(const TArray<FString>& words, const Recipient& who, const World* world,
                         const Numbering& numbering)
{
    return ItemExplainer(words, who, world, numbering).Explain();
}

}  // namespace kestrova::check
