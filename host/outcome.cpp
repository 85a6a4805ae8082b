#include "host/outcome.h"

#include <iterator>

#include <fmt/format.h>

#include "host/json_text.h"
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

// The keys of every object below are in byte order.
void WriteJson(JsonText& json, const CreatureMade& made)
{
    json.Open().Key("colours").OpenList();
    for (const std::int32_t colour : made.colours)
        json.Int(colour);
    json.CloseList();
    json.Key("creature").String(made.creature);
    json.Key("delivery").String(DeliveryName(made.delivery));
    json.Key("imprint").Number(made.imprint);
    json.Key("inventoryItem");
    if (made.inventoryItem.empty())
        json.Null();
    else
        json.Open()
            .Key("made").Bool(made.inventoryItemMade)
            .Key("quality").Int(made.inventoryItemQuality)
            .Key("reference").String(made.inventoryItem)
            .Close();
    json.Key("level");
    if (made.level)
        json.Int(*made.level);
    else
        json.Null();
    json.Key("neuter").Bool(made.neuter).Key("sex").String(SexName(made.sex)).Close();
}

void WriteJson(JsonText& json, const ItemsMade& made)
{
    json.Open()
        .Key("count").Int(made.count)
        .Key("formFlag").Bool(made.formFlag)
        .Key("item").String(made.item)
        .Key("made").Int(made.made)
        .Key("quality").Int(made.quality)
        .Key("qualityIndex").Int(made.quality & 0xFF)
        .Key("second").String(made.second)
        .Key("stats");
    if (!made.stats) {
        json.Null().Close();
        return;
    }
    json.OpenList();
    for (std::size_t slot = 0; slot < kItemStatIndex.size(); ++slot)
        json.Open().Key("itemStat").Int(kItemStatIndex[slot]).Key("value").Number((*made.stats)[slot]).Close();
    json.CloseList().Close();
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

void WriteJson(JsonText& json, const Stop& stop)
{
    const bool tooFew = stop.rule == StopRule::TooFewWords;
    json.Open();
    if (!stop.message.empty())
        json.Key("message").String(stop.message);
    if (tooFew)
        json.Key("needed").Int(stop.needed);
    json.Key("rule").String(RuleName(stop.rule));
    if (stop.word >= 0)
        json.Key("text").String(stop.text).Key("word").Int(stop.word);
    else
        json.Key("word").Null();
    if (tooFew)
        json.Key("words").Int(stop.words);
    json.Close();
}

void WriteJson(JsonText& json, const Outcome& outcome)
{
    json.Open();
    if (outcome.result == Outcome::Result::Failed)
        json.Key("error").String(outcome.error);
    if (outcome.kept)
        json.Key("kept").String(KeptReasonName(*outcome.kept));
    json.Key("result").String(ResultName(outcome.result));
    if (outcome.creature) {
        json.Key("spawn");
        WriteJson(json, *outcome.creature);
    } else if (outcome.items) {
        json.Key("spawn");
        WriteJson(json, *outcome.items);
    }
    if (outcome.stop) {
        json.Key("stop");
        WriteJson(json, *outcome.stop);
    }
    json.Close();
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
