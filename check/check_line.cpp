#include "check/check_line.h"

#include <fmt/format.h>

#include "check/explain.h"
#include "host/words.h"

namespace kestrova::check {
namespace {

enum class Grammar { SpawnDino, SpawnDinoStats, SpawnItem };

struct Command {
    enum class Kind { Reload, Plain, Targeted };

    const char* name;
    Kind kind;
    Grammar grammar;
    int minimumWords;  // a targeted form hands its line on only from this many words, name and id included
    const char* about;
};

constexpr Command kCommands[] = {
    {"Kestrova.Reload", Command::Kind::Reload, Grammar::SpawnDino, 0,
     "re-reads config.json; on the console and over RCON"},
    {"KV.SpawnDino", Command::Kind::Plain, Grammar::SpawnDino, 0,
     "a tamed creature at a chosen level, for the player who issues it; console only"},
    {"KV.SpawnDinoStats", Command::Kind::Plain, Grammar::SpawnDinoStats, 0,
     "a tamed creature with chosen per-stat levels, for the player who issues it; console only"},
    {"KV.SpawnItem", Command::Kind::Plain, Grammar::SpawnItem, 0,
     "items of a class, count and quality, for the player who issues it; console only"},
    {"KV.SpawnDinoFor", Command::Kind::Targeted, Grammar::SpawnDino, 6,
     "KV.SpawnDino for the player whose id is word 1; on the console and over RCON"},
    {"KV.SpawnDinoStatsFor", Command::Kind::Targeted, Grammar::SpawnDinoStats, 8,
     "KV.SpawnDinoStats for the player whose id is word 1; on the console and over RCON"},
    {"KV.SpawnItemFor", Command::Kind::Targeted, Grammar::SpawnItem, 6,
     "KV.SpawnItem for the player whose id is word 1; on the console and over RCON"},
};

constexpr char kSuccessReply[] = "Success! Sent to the command processor.";
constexpr char kFailedReply[] = "Failed to give!";

const char* PlainName(Grammar grammar)
{
    switch (grammar) {
    case Grammar::SpawnDino: return "KV.SpawnDino";
    case Grammar::SpawnDinoStats: return "KV.SpawnDinoStats";
    case Grammar::SpawnItem: return "KV.SpawnItem";
    }
    return "";
}

// The host finds a command by its name, compared ignoring ASCII case.
const Command* FindCommand(WideView name)
{
    for (const Command& command : kCommands)
        if (IsCommandName(command.name, name))
            return &command;
    return nullptr;
}

Reading Explain(Grammar grammar, const TArray<FString>& words, const Recipient& who, const World* world,
                const Numbering& numbering)
{
    if (grammar == Grammar::SpawnItem)
        return ExplainSpawnItem(words, who, world, numbering);
    return ExplainSpawnDino(words, grammar == Grammar::SpawnDinoStats, who, world, numbering);
}

std::string PlayerLabel(const PlayerFacts& facts, WideView id) { return fmt::format("{} ({})", facts.name, Utf8(id)); }

Recipient IssuingPlayer(const Context& context)
{
    switch (context.issuer.kind) {
    case Issuer::Kind::Unknown: return {Recipient::Kind::Unknown, "the issuing player", std::nullopt};
    case Issuer::Kind::Server: return {Recipient::Kind::Nobody, "nobody", std::nullopt};
    case Issuer::Kind::Player: break;
    }
    const WideView id = context.issuer.id;
    if (context.world != nullptr)
        if (const std::optional<PlayerFacts> facts = context.world->Player(id))
            return {Recipient::Kind::Player, PlayerLabel(*facts, id), facts};
    return {Recipient::Kind::Player, "player " + Utf8(id), std::nullopt};
}

void TakeReading(Report& report, Reading reading, std::size_t fromWord)
{
    for (std::size_t i = fromWord; i < reading.words.size(); ++i)
        report.words.push_back(std::move(reading.words[i]));
    report.verdict = reading.verdict;
    report.stop = std::move(reading.stop);
    report.result = reading.result;
    report.kept = reading.kept;
    report.outcome = std::move(reading.outcome);
    report.spawn = std::move(reading.spawn);
    for (std::string& note : reading.notes)
        report.notes.push_back(std::move(note));
    for (std::string& unchecked : reading.unchecked)
        report.unchecked.push_back(std::move(unchecked));
}

// A line from the server's own console reaches a command with no player, and
// every console command of the plugin then returns at once.
bool FromNobody(const Context& context)
{
    return context.channel == Context::Channel::Console && context.issuer.kind == Issuer::Kind::Server;
}

void StopForNobody(Report& report)
{
    report.verdict = Verdict::DoesNothing;
    report.stop = Note(StopRule::NoPlayer, "no player issues it (the server's console), so the command returns at once");
    if (report.result)
        report.result = Outcome::Result::Nothing;
    report.kept.reset();
    report.outcome.clear();
    report.spawn = nullptr;
    report.unchecked.clear();
}

void CheckReload(Report& report, const TArray<FString>& words, const Context& context)
{
    for (int i = 1; i < words.Num(); ++i)
        report.words.push_back({i, Utf8(words[i]), {}, "not read"});
    report.verdict = Verdict::Reloads;
    report.outcome =
        "re-reads config.json; on the console the player is told \"Reloaded Config!\", and a "
        "config.json that does not parse keeps the configuration loaded before";
    report.rconCommand = true;
    report.rconReply = "Reloaded Config!";
    report.rconNote = "or an empty reply when config.json does not parse";
    if (FromNobody(context))
        StopForNobody(report);
}

void CheckPlain(Report& report, const Command& command, const TArray<FString>& words, const Context& context)
{
    TakeReading(report, Explain(command.grammar, words, IssuingPlayer(context), context.world, Numbering{}), 1);
    if (context.channel == Context::Channel::Rcon) {
        // How the words would read on the console is still worth showing.
        report.verdict = Verdict::NotACommand;
        report.stop.reset();
        report.result.reset();
        report.kept.reset();
        report.outcome.clear();
        report.spawn = nullptr;
        report.unchecked.clear();
        report.notes.push_back(std::string(command.name) +
                               " is a console command: over RCON only Kestrova.Reload "
                               "and the targeted forms are");
    }
}

// As the targeted forms do it: every word but the id, each followed by one blank.
FString HandedOnLine(const TArray<FString>& words)
{
    FString line;
    for (int i = 0; i < words.Num(); ++i) {
        if (i == 1)
            continue;
        line += words[i];
        line.AppendChars(WTEXT(" "), 1);
    }
    return line;
}

void CheckTargeted(Report& report, const Command& command, const TArray<FString>& words, const Context& context)
{
    const char* plain = PlainName(command.grammar);
    report.rconCommand = true;
    const FString handedOn = HandedOnLine(words);
    const TArray<FString> handedWords = SplitWords(handedOn);
    const Numbering numbering{1, "the line handed on"};

    if (words.Num() < command.minimumWords) {
        // How the words would read, had there been enough of them.
        Reading reading = Explain(command.grammar, handedWords, {}, nullptr, numbering);
        if (words.Num() > 1)
            report.words.push_back({1, Utf8(words[1]), {}, "the target player's id"});
        TakeReading(report, std::move(reading), 1);
        report.verdict = Verdict::DoesNothing;
        report.outcome.clear();
        report.spawn = nullptr;
        report.unchecked.clear();
        Stop tooFew;
        tooFew.needed = command.minimumWords;
        tooFew.words = words.Num();
        report.stop = Note(tooFew, fmt::format("{} needs at least {} words, its name and the player id included, to "
                                               "hand the line on; this line has {}, so nothing happens",
                                               command.name, command.minimumWords, words.Num()));
        report.result = Outcome::Result::Nothing;
        report.kept.reset();
        report.rconReply.reset();
        report.rconNote = "no reply at all: a client waits until it gives up";
        if (FromNobody(context))
            StopForNobody(report);
        return;
    }

    const WideView id = words[1].View();
    TargetNote target{Utf8(id), std::nullopt, {}};
    Recipient who{Recipient::Kind::Unknown, "the player with id " + Utf8(id), std::nullopt};
    std::string idReading = "the target player's id";
    if (context.world != nullptr) {
        const std::optional<PlayerFacts> facts = context.world->Player(id);
        target.found = facts.has_value();
        if (facts) {
            target.name = facts->name;
            who = {Recipient::Kind::Player, PlayerLabel(*facts, id), facts};
            idReading += "; it names " + who.label;
        } else {
            idReading += "; no player has it in this world (ids are compared exactly)";
        }
    }
    report.words.push_back({1, Utf8(id), {}, idReading});
    report.target = target;
    report.handedOn = Utf8(handedOn);
    report.handedTo = fmt::format("{}, as {}", plain, who.label);

    TakeReading(report, Explain(command.grammar, handedWords, who, context.world, numbering), 1);
    if (target.found == false) {
        report.verdict = Verdict::DoesNothing;
        report.stop = Note(Stop(StopRule::NoSuchPlayer, 1, ToNarrow(id)),
                           fmt::format("no player has id {}, so the line is not handed on", Code(Utf8(id))));
        report.result = Outcome::Result::Nothing;
        report.kept.reset();
        report.outcome.clear();
        report.spawn = nullptr;
        report.unchecked.clear();
        report.rconReply = kFailedReply;
        // The console form looks for no target when no player issues it.
        if (FromNobody(context))
            StopForNobody(report);
        return;
    }
    report.rconReply = kSuccessReply;
    if (!target.found.has_value()) {
        report.unchecked.push_back(fmt::format("whether a player has id {} (no world given)", Code(Utf8(id))));
        report.rconNote = fmt::format("when a player has id {}; otherwise \"{}\"", Code(Utf8(id)), kFailedReply);
    }
    if (report.verdict != Verdict::Spawns)
        report.notes.push_back(
            fmt::format("over RCON the reply is still \"{}\": it says only that the line was "
                        "handed on to {}",
                        kSuccessReply, plain));
    if (FromNobody(context))
        StopForNobody(report);
}

}  // namespace

Report CheckLine(WideView line, const Context& context)
{
    Report report;
    report.line = Utf8(line);
    const TArray<FString> words = SplitWords(FString(line));
    if (words.Num() == 0) {
        report.about = "an empty line";
        return report;
    }
    const Command* command = FindCommand(words[0].View());
    if (command == nullptr) {
        report.about = "no command of this plugin has this name";
        report.words.push_back({0, Utf8(words[0]), {}, "not a command of this plugin"});
        return report;
    }
    report.command = command->name;
    report.about = command->about;
    report.words.push_back({0, Utf8(words[0]), {}, "the command name"});
    switch (command->kind) {
    case Command::Kind::Reload: CheckReload(report, words, context); break;
    case Command::Kind::Plain: CheckPlain(report, *command, words, context); break;
    case Command::Kind::Targeted: CheckTargeted(report, *command, words, context); break;
    }
    return report;
}

}  // namespace kestrova::check
