// What the checker says about one command line: how each word is read, and what
// the line then does. Shown as text for people and as JSON for scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/outcome.h"

namespace kestrova::check {

enum class Verdict {
    Spawns,           // the creature or the items are made
    SpawnsThenStops,  // the items are made, then a stat word ends the command
    DoesNothing,      // nothing is spawned or created
    Reloads,          // Kestrova.Reload
    NotACommand,      // no command of this plugin has that name
};

// "spawns", "spawns-then-stops", "does-nothing", "reloads", "not-a-command".
const char* VerdictName(Verdict verdict);

struct WordNote {
    int index = 0;        // as the line was typed
    std::string text;     // UTF-8
    std::string as;       // in a targeted form, the plain command's word: "KV.SpawnDino word 4"
    std::string reading;  // how the word is read, in the grammar's terms
};

// The rule that stops a line: the stop as the command's own outcome gives it, and
// why, for people.
struct StopNote : Stop {
    std::string reason;  // one sentence; the checker's alone
};

struct TargetNote {
    std::string id;
    std::optional<bool> found;  // unset: not checked
    std::string name;
};

struct Report {
    std::string line;
    std::string command;  // the registered name; empty when no command has the first word's name
    std::string about;    // what the command does and where it is offered
    std::vector<WordNote> words;
    Verdict verdict = Verdict::NotACommand;
    std::optional<StopNote> stop;
    // What the command's own outcome will say, in its words: set for the spawn
    // commands, with why a creature stays in the world.
    std::optional<Outcome::Result> result;
    std::optional<KeptReason> kept;
    std::string outcome;   // one sentence
    nlohmann::json spawn;  // what is asked of the game, for scripts; null when nothing

    // Targeted forms.
    std::optional<TargetNote> target;
    std::optional<std::string> handedOn;  // the line given to the plain command
    std::string handedTo;                 // "KV.SpawnDino, as Bob (1002)"

    // Over RCON: whether the line is a command there, and the reply (none: no reply at all).
    bool rconCommand = false;
    std::optional<std::string> rconReply;
    std::string rconNote;  // when the reply depends on what was not checked

    std::vector<std::string> notes;      // anything else worth knowing
    std::vector<std::string> unchecked;  // what could not be checked, and why
};

// The report for people: the line, one line per word, the outcome.
std::string FormatText(const Report& report);

// The report as one JSON object.
nlohmann::json ToJson(const Report& report);

// What the issuing player is told on the console when config.json's
// "ConsoleFeedback" is on; empty when the line delivers.
std::string Feedback(const Report& report);

}  // namespace kestrova::check
