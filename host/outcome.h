// What one run of a spawn command did: made by the code that did the work, read
// by whoever asked (an RCON reply, a message to the player, the checker's
// prediction of the same line). Building one costs the game nothing: it holds
// only what the command already knew.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova {

struct LineStop;
class CommandWords;
class JsonText;

// Why a line does nothing (or stops part-way). One table gives each rule its name
// and its plain words, for the commands and the checker alike.
enum class StopRule : std::uint8_t {
    TooFewWords,
    NotANumber,
    DoesNotConvert,
    NoPlayer,
    NoSuchPlayer,
    NoInventory,
    InventoryFull,
    CountBelowOne,
    NoClass,
    NotACreature,
    NotAnItem,
};

// "too-few-words", "not-a-number", ...
const char* RuleName(StopRule rule);

struct Stop {
    Stop() = default;
    Stop(StopRule stopRule, int stopWord = -1, std::string wordText = {})
        : rule(stopRule), word(stopWord), text(std::move(wordText))
    {
    }

    StopRule rule = StopRule::TooFewWords;
    int word = -1;        // the word that stops the line, as typed; -1 for none
    std::string text;     // that word, narrowed as the commands read it
    std::string message;  // a conversion's own message
    int needed = 0;       // too-few-words: the words the command needs, as typed
    int words = 0;        //                the words the line has
};

// A stop at `word` of the line, its text taken from `words`.
Stop StopAt(StopRule rule, const CommandWords& words, int word);
// The stop a command's words give, as its grammar found it.
Stop StopOf(const LineStop& stop, const CommandWords& words);

// Why a creature stayed in the world instead of reaching the player.
enum class KeptReason : std::uint8_t { NoCryopodClass, NoInventory, InventoryFull, EggNotMade };
const char* KeptReasonName(KeptReason reason);  // "no-cryopod-class", ...

enum class Delivery : std::uint8_t { Cryopod, World, Egg };

struct CreatureMade {
    std::string creature;      // the blueprint reference it was spawned from
    std::optional<int> level;  // the level the game shows; unset when the game chose it
    enum class Sex : std::uint8_t { Game, Female, Male, None } sex = Sex::Game;  // None: the species has no sexes
    float imprint = 0.0f;                     // imprinted only above 0
    bool neuter = false;
    std::array<std::int32_t, 6> colours{};    // 0: the region as the game made it
    Delivery delivery = Delivery::Cryopod;    // as asked; where it went when delivered
    std::string inventoryItem;                // reference; empty: none asked
    std::int32_t inventoryItemQuality = 0;
    bool inventoryItemMade = false;
};

struct ItemsMade {
    std::string item;    // reference
    std::string second;  // reference of the second class
    std::int32_t quality = 0;
    bool formFlag = false;
    std::int32_t count = 0;  // asked for
    std::int32_t made = 0;
    // Item stats 1, 2, 3, 5 and 7 and the values asked of them (ranges drawn);
    // unset when a stat word stopped the command before any was written.
    std::optional<std::array<float, 5>> stats;
};

struct Outcome {
    enum class Result : std::uint8_t { Delivered, KeptInWorld, Partly, Nothing, Failed };

    Result result = Result::Nothing;
    std::optional<Stop> stop;             // nothing, partly
    std::optional<KeptReason> kept;       // kept-in-world
    std::optional<CreatureMade> creature;
    std::optional<ItemsMade> items;
    std::string error;                    // failed

    static Outcome Nothing(Stop stop);
    static Outcome Failed(std::string error);
};

// Thrown by a run that an error ended after it had made something, with that
// error nested in it (std::throw_with_nested): what the run made, so that its
// failed outcome still shows it.
struct MadeBeforeError {
    explicit MadeBeforeError(Outcome madeSoFar) : made(std::move(madeSoFar)) {}
    virtual ~MadeBeforeError() = default;
    MadeBeforeError(const MadeBeforeError&) = default;
    MadeBeforeError& operator=(const MadeBeforeError&) = default;

    // The error that ended the run; null if none was nested.
    std::exception_ptr Cause() const;

    Outcome made;
};

// Ends a run that made `made` with the error being handled; call it in a handler.
[[noreturn]] void RethrowWithWhatWasMade(Outcome made);

// "delivered", "kept-in-world", "partly", "nothing", "failed".
const char* ResultName(Outcome::Result result);

// A plain command's outcome as its targeted form reports it: word n >= 1 of the
// line handed on was typed as word n + 1, and the typed line had one word more.
void ShiftForTargetedForm(Outcome& outcome);
void ShiftForTargetedForm(Stop& stop);

// The outcome as the JSON replies and the ledger's lines give it, as one value.
void WriteJson(JsonText& json, const Outcome& outcome);
void WriteJson(JsonText& json, const Stop& stop);

// Why a stop stops, in plain words: `word 4 "abc" is not a number`.
std::string PlainWords(const Stop& stop);
// One sentence for a player about a run that did not simply deliver:
// `KV.SpawnDino did nothing: word 4 "abc" is not a number`. Empty for a delivery.
std::string PlainWords(std::string_view command, const Outcome& outcome);

}  // namespace kestrova
