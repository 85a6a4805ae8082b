#include "host/outcome.h"

#include <iterator>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "host/stat_words.h"
#include "host/words.h"

namespace kestrova {
namespace {

// Each rule's name and plain words; the words are formatted with the stop's word
// number {0}, its text {1}, the conversion's message {2}, and for a short line the
// words needed {3} and the words it has {4}.
struct RuleRow {
    StopRule rule;
    const char* name;
    const char* words;
};

constexpr RuleRow kRules[] = {
    {StopRule::TooFewWords, "too-few-words", "it needs at least {3} words, the line has {4}"},
    {StopRule::NotANumber, "not-a-number", "word {0} \"{1}\" is not a number"},
    {StopRule::DoesNotConvert, "does-not-convert", "word {0} \"{1}\" does not convert ({2})"},
    {StopRule::NoPlayer, "no-player", "no player issued it"},
    {StopRule::NoSuchPlayer, "no-such-player", "no player has the id \"{1}\""},
    {StopRule::NoInventory, "no-inventory", "the player has no inventory"},
    {StopRule::InventoryFull, "inventory-full", "the player's inventory is full"},
    {StopRule::CountBelowOne, "count-below-one", "the count, word {0} \"{1}\", is below 1"},
    {StopRule::NoClass, "no-class", "word {0} \"{1}\" names nothing in this world"},
    {StopRule::NotACreature, "not-a-creature", "word {0} \"{1}\" names no creature"},
    {StopRule::NotAnItem, "not-an-item", "word {0} \"{1}\" names no item"},
};

constexpr bool InRuleOrder()
{
    for (std::size_t i = 0; i < std::size(kRules); ++i)
        if (static_cast<std::size_t>(kRules[i].rule) != i)
            return false;
    return true;
}
static_assert(InRuleOrder(), "kRules is indexed by StopRule");

const RuleRow& RowOf(StopRule rule) { return kRules[static_cast<std::size_t>(rule)]; }

struct KeptRow {
    const char* name;
    const char* words;
};

constexpr KeptRow kKept[] = {
    {"no-cryopod-class", "config.json's CryopodBP names no item class"},
    {"no-inventory", "the player has no inventory"},
    {"inventory-full", "the player's inventory is full"},
    {"egg-not-made", "the game made no egg of it"},
};

const KeptRow& RowOf(KeptReason reason) { return kKept[static_cast<std::size_t>(reason)]; }

const char* DeliveryName(Delivery delivery)
{
    switch (delivery) {
    case Delivery::Cryopod: return "cryopod";
    case Delivery::World: return "world";
    case Delivery::Egg: return "egg";
    }
    return "";
}

const char* SexName(CreatureMade::Sex sex)
{
    switch (sex) {
    case CreatureMade::Sex::Game: return "game";
    case CreatureMade::Sex::Female: return "female";
    case CreatureMade::Sex::Male: return "male";
    case CreatureMade::Sex::None: return "none";
    }
    return "";
}

// Item stats 1, 2, 3, 5 and 7, the stats a command's five stat words set.
constexpr std::array<int, 5> kItemStatIndex = {1, 2, 3, 5, 7};

nlohmann::json ToJson(const CreatureMade& made)
{
    nlohmann::json item;
    if (!made.inventoryItem.empty())
        item = {{"reference", made.inventoryItem},
                {"quality", made.inventoryItemQuality},
                {"made", made.inventoryItemMade}};
    return {
        {"creature", made.creature},
        {"level", made.level ? nlohmann::json(*made.level) : nlohmann::json()},
        {"sex", SexName(made.sex)},
        {"imprint", made.imprint},
        {"neuter", made.neuter},
        {"colours", made.colours},
        {"delivery", DeliveryName(made.delivery)},
        {"inventoryItem", std::move(item)},
    };
}

nlohmann::json ToJson(const ItemsMade& made)
{
    nlohmann::json stats;
    if (made.stats) {
        stats = nlohmann::json::array();
        for (std::size_t slot = 0; slot < kItemStatIndex.size(); ++slot)
            stats.push_back({{"itemStat", kItemStatIndex[slot]}, {"value", (*made.stats)[slot]}});
    }
    return {
        {"item", made.item},
        {"second", made.second},
        {"quality", made.quality},
        {"qualityIndex", made.quality & 0xFF},
        {"formFlag", made.formFlag},
        {"count", made.count},
        {"made", made.made},
        {"stats", std::move(stats)},
    };
}

}  // namespace

const char* RuleName(StopRule rule) { return RowOf(rule).name; }
const char* KeptReasonName(KeptReason reason) { return RowOf(reason).name; }

Stop StopAt(StopRule rule, const CommandWords& words, int word)
{
    Stop stop;
    stop.rule = rule;
    stop.word = word;
    if (word >= 0 && word < words.Num())
        stop.text = ToNarrow(words[word]);
    return stop;
}

Stop StopOf(const LineStop& stop, const CommandWords& words)
{
    switch (stop.rule) {
    case LineStop::Rule::TooFewWords: {
        Stop tooFew;
        tooFew.needed = stop.needed;
        tooFew.words = stop.word;
        return tooFew;
    }
    case LineStop::Rule::NotNumeric: return StopAt(StopRule::NotANumber, words, stop.word);
    case LineStop::Rule::DoesNotConvert: {
        Stop conversion = StopAt(StopRule::DoesNotConvert, words, stop.word);
        conversion.message = stop.message;
        return conversion;
    }
    }
    return {};
}

Outcome Outcome::Nothing(Stop stop)
{
    Outcome outcome;
    outcome.stop = std::move(stop);
    return outcome;
}

Outcome Outcome::Failed(std::string error)
{
    Outcome outcome;
    outcome.result = Result::Failed;
    outcome.error = std::move(error);
    return outcome;
}

std::exception_ptr MadeBeforeError::Cause() const
{
    const auto* nested = dynamic_cast<const std::nested_exception*>(this);
    return nested != nullptr ? nested->nested_ptr() : nullptr;
}

void RethrowWithWhatWasMade(Outcome made) { std::throw_with_nested(MadeBeforeError(std::move(made))); }

const char* ResultName(Outcome::Result result)
{
    switch (result) {
    case Outcome::Result::Delivered: return "delivered";
    case Outcome::Result::KeptInWorld: return "kept-in-world";
    case Outcome::Result::Partly: return "partly";
    case Outcome::Result::Nothing: return "nothing";
    case Outcome::Result::Failed: return "failed";
    }
    return "";
}

void ShiftForTargetedForm(Outcome& outcome)
{
    if (outcome.stop)
        ShiftForTargetedForm(*outcome.stop);
}

void ShiftForTargetedForm(Stop& stop)
{
    if (stop.word >= 1)
        ++stop.word;
    if (stop.rule == StopRule::TooFewWords) {
        ++stop.needed;
        ++stop.words;
    }
}

nlohmann::json ToJson(const Stop& stop)
{
    nlohmann::json json = {{"rule", RuleName(stop.rule)},
                           {"word", stop.word < 0 ? nlohmann::json() : nlohmann::json(stop.word)}};
    if (stop.word >= 0)
        json["text"] = stop.text;
    if (!stop.message.empty())
        json["message"] = stop.message;
    if (stop.rule == StopRule::TooFewWords) {
        json["needed"] = stop.needed;
        json["words"] = stop.words;
    }
    return json;
}

nlohmann::json ToJson(const Outcome& outcome)
{
    nlohmann::json json = {{"result", ResultName(outcome.result)}};
    if (outcome.stop)
        json["stop"] = ToJson(*outcome.stop);
    if (outcome.kept)
        json["kept"] = KeptReasonName(*outcome.kept);
    if (outcome.creature)
        json["spawn"] = ToJson(*outcome.creature);
    else if (outcome.items)
        json["spawn"] = ToJson(*outcome.items);
    if (outcome.result == Outcome::Result::Failed)
        json["error"] = outcome.error;
    return json;
}

std::string PlainWords(const Stop& stop)
{
    return fmt::format(fmt::runtime(RowOf(stop.rule).words), stop.word, stop.text, stop.message, stop.needed,
                       stop.words);
}

std::string PlainWords(std::string_view command, const Outcome& outcome)
{
    switch (outcome.result) {
    case Outcome::Result::Delivered: return {};
    case Outcome::Result::KeptInWorld:
        return fmt::format("{} kept the creature in the world: {}", command,
                           outcome.kept ? RowOf(*outcome.kept).words : "it did not reach the player");
    case Outcome::Result::Partly: {
        const std::string made =
            outcome.items ? fmt::format("made {} of {} items", outcome.items->made, outcome.items->count)
                          : std::string("made part of what it was asked");
        return fmt::format("{} {}, then stopped: {}", command, made,
                           outcome.stop ? PlainWords(*outcome.stop) : std::string());
    }
    case Outcome::Result::Nothing:
        return fmt::format("{} did nothing: {}", command, outcome.stop ? PlainWords(*outcome.stop) : std::string());
    case Outcome::Result::Failed: return fmt::format("{} failed: {}", command, outcome.error);
    }
    return {};
}

}  // namespace kestrova
