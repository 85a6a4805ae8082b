// KV.SpawnDino and KV.SpawnDinoStats, word by word.
#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "check/explain.h"
#include "dino/spawn_dino_grammar.h"
#include "dino/spawn_pipeline.h"
#include "host/text.h"

namespace kestrova::check {
namespace {

enum class Role {
    Name,
    Creature,
    InventoryItem,
    ItemQuality,
    Level,
    Imprint,
    Neuter,
    KeepInWorld,
    AsEgg,
    Colours,
    Sex,
    Stat,
    Unread
};

constexpr std::array<const char*, 12> kStatusValueNames = {
    "health",      "stamina", "torpidity",    "oxygen",         "food",      "water",
    "temperature", "weight",  "melee damage", "movement speed", "fortitude", "crafting speed"};

// The status value that stat slot `slot` lands on, asked of the pipeline itself so
// the two cannot drift apart.
int StatusValueOf(int slot)
{
    std::vector<std::int32_t> points(6, 0);
    points[static_cast<std::size_t>(slot)] = 1;
    const std::vector<std::int32_t> levels = StatLevelList(points);
    return static_cast<int>(std::find(levels.begin(), levels.end(), 1) - levels.begin());
}

std::string StatName(int slot)
{
    const int status = StatusValueOf(slot);
    return fmt::format("stat {} (status value {}, {})", slot + 1, status,
                       kStatusValueNames[static_cast<std::size_t>(status)]);
}

int Clamped(double points) { return std::clamp(static_cast<int>(points), 0, 255); }

class DinoExplainer {
public:
    DinoExplainer(const TArray<FString>& words, bool stats, const Recipient& who, const World* world,
                  const Numbering& numbering)
        : words_(words),
          stats_(stats),
          who_(who),
          world_(world),
          numbering_(numbering),
          command_(stats ? "KV.SpawnDinoStats" : "KV.SpawnDino"),
          line_(stats ? ParseSpawnDinoStats(CommandWords(words)) : ParseSpawnDino(CommandWords(words)))
    {
        // The references are read only once the numeric words pass their test.
        if (world_ != nullptr && (!line_.stop || line_.stop->IsConversion())) {
            creature_ = world_->Class(line_.options.BlueprintPath);
            if (HasItemWord())
                item_ = world_->Class(WithoutQuotes(line_.options.InventoryItemPath));
        }
    }

    Reading Explain()
    {
        Reading reading;
        for (int i = 0; i < words_.Num(); ++i) {
            WordNote note{numbering_.Typed(i), Utf8(words_[i]), {}, WordReading(i)};
            if (numbering_.shift > 0 && i > 0)
                note.as = fmt::format("{} word {}", command_, i);
            reading.words.push_back(std::move(note));
        }
        Decide(reading);
        return reading;
    }

private:
    Role RoleOf(int word) const
    {
        using enum Role;
        static constexpr std::array kDino = {Name,   Creature,    InventoryItem, ItemQuality, Level, Imprint,
                                             Neuter, KeepInWorld, AsEgg,         Colours,     Sex};
        static constexpr std::array kStats = {Name,   Creature,    InventoryItem, ItemQuality, Imprint,
                                              Neuter, KeepInWorld, AsEgg,         Colours,     Sex};
        if (stats_)
            return word < 10 ? kStats[static_cast<std::size_t>(word)] : word < kFirstStatPointWord + 6 ? Stat : Unread;
        return word < 11 ? kDino[static_cast<std::size_t>(word)] : Unread;
    }

    std::string RoleName(int word) const
    {
        switch (RoleOf(word)) {
        case Role::Name: return "the command name";
        case Role::Creature: return "the creature's blueprint reference";
        case Role::InventoryItem: return "an item for the creature's own inventory, \"\" for none";
        case Role::ItemQuality: return "that item's quality";
        case Role::Level: return "the level";
        case Role::Imprint: return "the imprint quality";
        case Role::Neuter: return "neuter, set only by 1";
        case Role::KeepInWorld: return "keep in the world, set only by 1";
        case Role::AsEgg: return "deliver as an egg, set only by 1";
        case Role::Colours: return "the colours, a comma-separated list";
        case Role::Sex: return "the sex: R, F or another word";
        case Role::Stat: return StatName(word - kFirstStatPointWord) + ", a number or a range";
        case Role::Unread: return "not read";
        }
        return {};
    }

    std::string WordReading(int word) const
    {
        if (word == 0)
            return RoleName(0);
        if (!line_.stop)
            return FullReading(word);
        const LineStop& stop = *line_.stop;
        switch (stop.rule) {
        case LineStop::Rule::TooFewWords: return RoleName(word);
        case LineStop::Rule::NotNumeric:
            return word == stop.word ? RoleName(word) + "; not a number, so the line stops here" : RoleName(word);
        case LineStop::Rule::DoesNotConvert:
            if (word < stop.word)
                return FullReading(word);
            if (word == stop.word)
                return RoleName(word) +
                       fmt::format("; {} its conversion fails (\"{}\"), so the line stops here",
                                   stop.part >= 0
                                       ? fmt::format("the part for region {} passes the number test, but", stop.part)
                                       : std::string("a number, but"),
                                   stop.message);
            return RoleName(word) + "; not read";
        }
        return {};
    }

    bool NoItem() const { return line_.options.InventoryItemPath == "\"\""; }
    bool HasItemWord() const { return words_.Num() > 2 && !NoItem(); }
    int FlagWord() const { return stats_ ? 5 : 6; }

    std::string FullReading(int word) const
    {
        const DinoSpawnOptions& options = line_.options;
        const FString& text = words_[word];
        switch (RoleOf(word)) {
        case Role::Name: return RoleName(word);
        case Role::Creature: {
            std::string reading = RoleName(word);
            if (options.BlueprintPath != Utf8(text))
                reading += ", read as " + Code(options.BlueprintPath);
            if (creature_)
                reading += "; it " + ClassPhrase(*creature_);
            return reading;
        }
        case Role::InventoryItem: {
            if (NoItem())
                return "two double quotes: no item for the creature's own inventory";
            std::string reading = "an item for the creature's own inventory";
            const std::string reference = WithoutQuotes(options.InventoryItemPath);
            if (reference != Utf8(text))
                reading += ", read as " + Code(reference);
            if (item_) {
                reading += "; it " + ClassPhrase(*item_);
                if (item_->kind != ClassFacts::Kind::Item)
                    reading += ", so no item is made";
            }
            if (options.AsEgg)
                reading += " (not made: an egg delivery gives the creature no item)";
            return reading;
        }
        case Role::ItemQuality:
            return fmt::format("that item's quality, {}{}{}", options.InventoryItemQuality,
                               ReadsAs(text, options.InventoryItemQuality), NoItem() ? " (unused: no item)" : "");
        case Role::Level: return fmt::format("the level, {}{}", options.Level, ReadsAs(text, options.Level));
        case Role::Imprint: {
            const std::string value = NumberText(options.ImprintQuality);
            return fmt::format("the imprint quality, {}{}: {}", value,
                               value == Utf8(text) ? "" : fmt::format(" ({} reads so)", Code(Utf8(text))),
                               options.ImprintQuality > 0.0f ? "imprinted on the player"
                                                             : "not imprinted (only a value above 0 imprints)");
        }
        case Role::Neuter:
        case Role::KeepInWorld:
        case Role::AsEgg: return FlagReading(word);
        case Role::Colours: return ColoursReading(word);
        case Role::Sex: return SexReading(text);
        case Role::Stat: return StatReading(word);
        case Role::Unread:
            return stats_ ? "not read: there are six stat words" : "not read: the sex is the last word read";
        }
        return {};
    }

    std::string FlagReading(int word) const
    {
        static constexpr std::array kNames = {"neuter", "keep in the world", "deliver as an egg"};
        const int flag = word - FlagWord();
        const std::int32_t value = line_.flagValues[static_cast<std::size_t>(flag)];
        return fmt::format("{}: {}{}", kNames[static_cast<std::size_t>(flag)],
                           value == 1 ? "yes" : "no, only 1 sets it", ReadsAs(words_[word], value));
    }

    std::string ColoursReading(int word) const
    {
        std::vector<std::string> parts;
        std::vector<std::string> ignored;
        int region = 0;
        ForEachPiece(words_[word].View(), WTEXT(','), [&](FString::WideView piece) {
            const int k = region++;
            if (k >= 6) {
                ignored.push_back(Code(Utf8(piece)));
                return;
            }
            if (line_.colours.parts[static_cast<std::size_t>(k)] == ColourWord::Part::NotNumber) {
                parts.push_back(
                    fmt::format("region {} stays as the game made it ({} is not a number)", k, Code(Utf8(piece))));
                return;
            }
            const std::int32_t value = line_.options.Colors[static_cast<std::size_t>(k)];
            const std::string readsAs = ReadsAs(FString(piece), value);
            parts.push_back(value == 0 ? fmt::format("region {} stays as the game made it (0){}", k, readsAs)
                                       : fmt::format("region {} gets colour {}{}", k, value, readsAs));
        });
        if (region == 0)
            return "the colours: no parts, so every region stays as the game made it";
        if (region < 6)
            parts.push_back(Span("region", "regions", region, 5) + (region == 5 ? " stays" : " stay") +
                            " as the game made it");
        std::string reading = "the colours: ";
        for (std::size_t i = 0; i < parts.size(); ++i)
            reading += (i ? "; " : "") + parts[i];
        if (!ignored.empty()) {
            reading += "; parts after the sixth are ignored:";
            for (const std::string& part : ignored)
                reading += " " + part;
        }
        return reading;
    }

    std::string SexReading(const FString& word) const
    {
        std::string reading;
        const std::string text = Utf8(word);
        if (text == "R")
            reading = "the sex: R, the game chooses";
        else if (text == "F")
            reading = "the sex: F, female";
        else if (text == "r" || text == "f")
            reading =
                fmt::format("the sex: {} makes it male, as any word but R or F does (capitals count)", Code(text));
        else
            reading = fmt::format("the sex: {} makes it male, as any word but R or F does", Code(text));
        if (creature_ && creature_->kind == ClassFacts::Kind::Creature && !creature_->usesGender && text != "R")
            reading += "; but this creature has no sexes, so it changes nothing";
        return reading;
    }

    std::string StatReading(int word) const
    {
        const int slot = word - kFirstStatPointWord;
        const StatWord& stat = line_.stats.slots[static_cast<std::size_t>(slot)];
        const std::string name = StatName(slot);
        switch (stat.kind) {
        case StatWord::Kind::Number: {
            const int points = static_cast<int>(stat.low);
            std::string reading = fmt::format("{}: {} points{}", name, points, ReadsAs(words_[word], points));
            if (points != Clamped(stat.low))
                reading += fmt::format(", which count as {} (0 to 255)", Clamped(stat.low));
            return reading;
        }
        case StatWord::Kind::Range: {
            std::string reading = fmt::format("{}: points drawn at random between {} and {}", name,
                                              static_cast<int>(stat.low), static_cast<int>(stat.high));
            if (Clamped(stat.low) != static_cast<int>(stat.low) || Clamped(stat.high) != static_cast<int>(stat.high))
                reading += ", each counted within 0 to 255";
            return reading;
        }
        case StatWord::Kind::BadRange: {
            std::string reading = BadRangeReading(fmt::format("stat {}", slot + 1));
            if (Utf8(words_[word]).front() == '-')
                reading += " (a negative number is read so too)";
            return reading;
        }
        case StatWord::Kind::Ends: return EndsReading(Span("stat", "stats", slot + 1, 6), slot + 1 < 6);
        case StatWord::Kind::Absent:
            return fmt::format("{}; not read: the stat words ended at {}", name, numbering_.Word(line_.stats.ended));
        }
        return {};
    }

    // The lowest and highest base level the stat points can make: 1 plus each
    // slot's points counted within 0 to 255.
    std::pair<int, int> BaseLevels() const
    {
        int low = 1;
        int high = 1;
        for (const StatWord& stat : line_.stats.slots) {
            if (stat.kind == StatWord::Kind::Number) {
                low += Clamped(stat.low);
                high += Clamped(stat.low);
            } else if (stat.kind == StatWord::Kind::Range) {
                low += std::min(Clamped(stat.low), Clamped(stat.high));
                high += std::max(Clamped(stat.low), Clamped(stat.high));
            }
        }
        return {low, high};
    }

    void Decide(Reading& reading) const
    {
        const std::string consequence = "the line does nothing: nothing is spawned";
        reading.result = Outcome::Result::Nothing;
        if (who_.kind == Recipient::Kind::Nobody) {
            reading.stop =
                Note(StopRule::NoPlayer, "no player issues it (the server's console), so the command returns at once");
            return;
        }
        if (line_.stop) {
            reading.stop = GrammarStop(*line_.stop, words_, command_, numbering_, consequence,
                                       [this](int word) { return RoleName(word); });
            return;
        }
        reading.spawn = Spawn();
        if (creature_ && creature_->kind != ClassFacts::Kind::Creature) {
            const std::string word = numbering_.Word(kCreatureWord);
            const bool none = creature_->kind == ClassFacts::Kind::None;
            const Stop stop(none ? StopRule::NoClass : StopRule::NotACreature, numbering_.Typed(kCreatureWord),
                            line_.options.BlueprintPath);
            reading.stop =
                Note(stop, none ? word + " names nothing in this world, so the game spawns nothing"
                                : fmt::format("{} names {}, which is not a creature: the game spawns it, and "
                                              "the command goes no further",
                                              word, creature_->name));
            return;
        }
        if (!creature_) {
            reading.unchecked.push_back(
                fmt::format("whether {} names a creature (no world given)", numbering_.Word(1)));
            if (!NoItem() && !line_.options.AsEgg)
                reading.unchecked.push_back(
                    fmt::format("whether {} names an item (no world given)", numbering_.Word(2)));
        }
        reading.verdict = Verdict::Spawns;
        reading.outcome = OutcomeSentence();
        reading.kept = Kept();
        reading.result = reading.kept ? Outcome::Result::KeptInWorld : Outcome::Result::Delivered;
    }

    // Why the creature will stay in the world, as far as the world tells.
    std::optional<KeptReason> Kept() const
    {
        const DinoSpawnOptions& options = line_.options;
        if (!options.AsEgg && options.KeepInWorld)
            return std::nullopt;
        if (options.AsEgg && creature_ && !creature_->hasEggItem)
            return KeptReason::EggNotMade;
        if (who_.facts && !who_.facts->hasInventory)
            return KeptReason::NoInventory;
        if (who_.facts && who_.facts->freeSlots < 1)
            return KeptReason::InventoryFull;
        return std::nullopt;
    }

    std::string OutcomeSentence() const
    {
        const DinoSpawnOptions& options = line_.options;
        const bool sexes = !creature_ || creature_->usesGender;
        std::string sex;
        if (sexes && !options.RandomGender)
            sex = options.Female != 0 ? "female " : "male ";
        std::string outcome =
            "spawns one " + sex + "creature" + (creature_ ? " (" + creature_->name + ")" : std::string());
        if (stats_) {
            const auto [low, high] = BaseLevels();
            outcome += low == high ? fmt::format(" at base level {}", low)
                                   : fmt::format(" at a base level drawn between {} and {}", low, high);
            outcome += " (1 plus the stat points, each counted within 0 to 255)";
            if (creature_ && !creature_->hasStatusComponent)
                outcome += " (but it has no status component, so its points and level stay as they are)";
        } else {
            outcome += fmt::format(" at level {}", options.Level);
        }
        if (sexes && options.RandomGender)
            outcome += ", of the sex the game gives it";
        outcome += fmt::format(", tamed to {}", who_.label);
        if (options.ImprintQuality > 0.0f)
            outcome += ", imprinted at " + NumberText(options.ImprintQuality);
        if (options.Neuter)
            outcome += ", neutered";
        std::vector<int> recoloured;
        for (int region = 0; region < 6; ++region)
            if (options.Colors[static_cast<std::size_t>(region)] != 0)
                recoloured.push_back(region);
        if (!recoloured.empty()) {
            outcome += recoloured.size() == 1 ? ", colour region" : ", colour regions";
            for (std::size_t i = 0; i < recoloured.size(); ++i)
                outcome += (i == 0 ? " " : i + 1 == recoloured.size() ? " and " : ", ") + std::to_string(recoloured[i]);
            outcome += " set";
        }
        if (!options.AsEgg && !NoItem())
            outcome +=
                ", " + (item_ && item_->kind != ClassFacts::Kind::Item
                            ? fmt::format("with no item ({} names none)", numbering_.Word(2))
                            : fmt::format("with an item of quality {} in its inventory", options.InventoryItemQuality));
        outcome += Delivery();
        return outcome;
    }

    std::string Delivery() const
    {
        const DinoSpawnOptions& options = line_.options;
        const bool noInventory = who_.facts && (!who_.facts->hasInventory || who_.facts->freeSlots < 1);
        const std::string stays = "; it stays tamed in the world instead, since ";
        if (options.AsEgg) {
            std::string delivery = ", delivered as a fertilized egg";
            if (options.KeepInWorld)
                delivery += " (the egg wins over keeping it in the world)";
            if (creature_ && !creature_->hasEggItem)
                delivery += stays + "this creature has no egg item";
            else if (noInventory)
                delivery += stays + (who_.facts->hasInventory ? "the inventory of " + who_.label + " is full"
                                                              : who_.label + " has no inventory");
            return delivery;
        }
        if (options.KeepInWorld)
            return ", left tamed in the world";
        std::string delivery = ", delivered in a cryopod (the class config.json's CryopodBP names)";
        if (noInventory)
            delivery += stays + (who_.facts->hasInventory ? "the inventory of " + who_.label + " is full"
                                                          : who_.label + " has no inventory");
        return delivery;
    }

    nlohmann::json Spawn() const
    {
        const DinoSpawnOptions& options = line_.options;
        nlohmann::json spawn = {
            {"creature", options.BlueprintPath},
            {"inventoryItem", NoItem() || options.AsEgg
                                  ? nlohmann::json()
                                  : nlohmann::json{{"reference", WithoutQuotes(options.InventoryItemPath)},
                                                   {"quality", options.InventoryItemQuality}}},
            {"imprint", options.ImprintQuality},
            {"neuter", options.Neuter},
            {"sex", options.RandomGender  ? "game"
                    : options.Female != 0 ? "female"
                                          : "male"},
            {"delivery", options.AsEgg         ? "egg"
                         : options.KeepInWorld ? "world"
                                               : "cryopod"},
            {"colours", options.Colors},
        };
        if (!stats_) {
            spawn["level"] = options.Level;
            return spawn;
        }
        const auto [low, high] = BaseLevels();
        spawn["baseLevel"] = {{"min", low}, {"max", high}};
        nlohmann::json points = nlohmann::json::array();
        for (int slot = 0; slot < 6; ++slot) {
            const StatWord& stat = line_.stats.slots[static_cast<std::size_t>(slot)];
            nlohmann::json point = {{"statusValue", StatusValueOf(slot)}};
            if (stat.kind == StatWord::Kind::Range) {
                point["from"] = static_cast<int>(stat.low);
                point["to"] = static_cast<int>(stat.high);
            } else {
                point["value"] = stat.kind == StatWord::Kind::Number ? static_cast<int>(stat.low) : 0;
            }
            points.push_back(std::move(point));
        }
        spawn["statPoints"] = std::move(points);
        return spawn;
    }

    const TArray<FString>& words_;
    bool stats_;
    const Recipient& who_;
    const World* world_;
    const Numbering& numbering_;
    std::string command_;
    DinoLine line_;
    std::optional<ClassFacts> creature_;  // known when checked in a world
    std::optional<ClassFacts> item_;
};

}  // namespace

Reading ExplainSpawnDino(const TArray<FString>& words, bool stats, const Recipient& who, const World* world,
                         const Numbering& numbering)
{
    return DinoExplainer(words, stats, who, world, numbering).Explain();
}

}  // namespace kestrova::check
