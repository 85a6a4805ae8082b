// How the spawn commands read their words, in their grammars' terms: shared by the
// plain commands and the targeted forms that hand a line on to them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FString.h"
#include "check/report.h"
#include "check/world.h"
#include "host/stat_words.h"

namespace kestrova::check {

// Whom a spawn command acts for.
struct Recipient {
    enum class Kind {
        Unknown,  // a player, not known which
        Nobody,   // the command gets no player: it does nothing
        Player,
    };

    Kind kind = Kind::Unknown;
    std::string label;                 // "Bob (1002)", "the issuing player"
    std::optional<PlayerFacts> facts;  // known when checked in a world
};

// How a plain command's words are numbered in what is shown: a targeted form
// hands on its line without word 1, so the plain command's word n (n >= 1) was
// typed as word n + 1.
struct Numbering {
    int shift = 0;
    std::string lineName = "this line";  // or "the line handed on"

    int Typed(int word) const { return word >= 1 ? word + shift : word; }
    // A plain command's stop, numbered as typed.
    Stop Typed(Stop stop) const
    {
        if (shift > 0)
            ShiftForTargetedForm(stop);
        return stop;
    }
    std::string Word(int word) const { return "word " + std::to_string(Typed(word)); }
};

// What a plain command makes of its words.
struct Reading {
    std::vector<WordNote> words;  // numbered as typed
    Verdict verdict = Verdict::DoesNothing;
    std::optional<StopNote> stop;
    std::optional<Outcome::Result> result;
    std::optional<KeptReason> kept;
    std::string outcome;
    nlohmann::json spawn;
    std::vector<std::string> notes;
    std::vector<std::string> unchecked;
};

Reading ExplainSpawnDino(const TArray<FString>& words, bool stats, const Recipient& who, const World* world,
                         const Numbering& numbering);
Reading ExplainSpawnItem(const TArray<FString>& words, const Recipient& who, const World* world,
                         const Numbering& numbering);

// Phrases the explanations share.
std::string Utf8(WideView text);
std::string Utf8(const FString& text);
// Words are split at blanks only, so a tab or another control character stays
// inside a word: shown as \t or \xNN.
std::string Visible(std::string_view text);
std::string Code(std::string_view text);  // `text`, made visible
std::string NumberText(float value);
// " (reads as 7)" when the word is not written as its integer value, else "".
std::string ReadsAs(const FString& word, std::int32_t value);
// "region 4", "regions 3 to 5"
std::string Span(std::string_view singular, std::string_view plural, int first, int last);

// The stop note of a grammar stop of `command`; `consequence` ends its reason
// ("nothing is spawned").
// `role` names what a word of the command's grammar is, for the words a short
// line lacks.
StopNote GrammarStop(const LineStop& stop, const TArray<FString>& words, std::string_view command,
                     const Numbering& numbering, std::string_view consequence,
                     const std::function<std::string(int word)>& role);

// A stop and why it stops.
StopNote Note(Stop stop, std::string reason);

// A stat word with '-' that is not two numbers: `slot` stays 0 and the words go on.
std::string BadRangeReading(std::string_view slot);
// A stat word that ends the stat words: `rest` ("stats 2 to 6") stay 0.
std::string EndsReading(std::string_view rest, bool plural);

// What the world says of a blueprint reference, in a few words: "names the
// creature class Raptor_Character_BP_C", "names nothing in this world".
std::string ClassPhrase(const ClassFacts& facts);

}  // namespace kestrova::check
