#include <fmt/format.h>

#include "check/explain.h"
#include "check/report.h"
#include "host/json_text.h"

namespace kestrova::check {
namespace {

const char* VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Spawns: return "spawns";
    case Verdict::SpawnsThenStops: return "spawns, then stops";
    case Verdict::DoesNothing: return "does nothing";
    case Verdict::Reloads: return "reloads the configuration";
    case Verdict::NotACommand: return "not a command of this plugin";
    }
    return "";
}

std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

}  // namespace

std::string FormatText(const Report& report)
{
    std::string text = report.line + "\n";
    if (!report.command.empty())
        text += fmt::format("  {}: {}\n", report.command, report.about);
    else
        text += fmt::format("  {}\n", report.about);
    for (const WordNote& word : report.words) {
        text += fmt::format("  word {} `{}`{}: {}\n", word.index, Visible(word.text),
                            word.as.empty() ? "" : " (" + word.as + ")", word.reading);
        if (word.index == 1 && report.handedOn)
            text += fmt::format("  handed on to {}: `{}`\n", report.handedTo, *report.handedOn);
    }
    // A command that is not one on this channel: a console command sent over RCON.
    const bool elsewhere = report.verdict == Verdict::NotACommand && !report.command.empty();
    text += fmt::format("  verdict: {}\n", elsewhere ? "not a command over RCON" : VerdictText(report.verdict));
    if (report.stop) {
        const bool then = report.verdict == Verdict::SpawnsThenStops || report.result == Outcome::Result::Partly;
        text += fmt::format("  {}: {}\n", then ? "then" : "why", report.stop->reason);
    }
    if (!report.outcome.empty())
        text += fmt::format("  outcome: {}\n", report.outcome);
    if (!report.command.empty()) {
        if (!report.rconCommand)
            text += "  RCON: not a command there\n";
        else if (!report.rconReply)
            text += fmt::format("  RCON: {}\n", report.rconNote);
        else
            text += fmt::format("  RCON: the reply is \"{}\"{}\n", *report.rconReply,
                                report.rconNote.empty() ? "" : ", " + report.rconNote);
    }
    for (const std::string& note : report.notes)
        text += fmt::format("  note: {}\n", note);
    if (!report.unchecked.empty())
        text += fmt::format("  not checked: {}\n", Joined(report.unchecked));
    return text;
}

nlohmann::json ToJson(const Report& report)
{
    nlohmann::json words = nlohmann::json::array();
    for (const WordNote& word : report.words) {
        nlohmann::json entry = {{"index", word.index}, {"text", word.text}, {"reading", word.reading}};
        if (!word.as.empty())
            entry["as"] = word.as;
        words.push_back(std::move(entry));
    }
    nlohmann::json json = {
        {"line", report.line},
        {"command", report.command.empty() ? nlohmann::json() : nlohmann::json(report.command)},
        {"about", report.about},
        {"words", std::move(words)},
        {"verdict", VerdictName(report.verdict)},
        {"stop", nullptr},
        {"outcome", report.outcome.empty() ? nlohmann::json() : nlohmann::json(report.outcome)},
        {"spawn", report.spawn},
        {"rcon", nullptr},
        {"notes", report.notes},
        {"unchecked", report.unchecked},
    };
    if (report.stop) {
        // The outcome's own stop, as its replies write it.
        JsonText stop;
        WriteJson(stop, static_cast<const Stop&>(*report.stop));
        json["stop"] = nlohmann::json::parse(stop.Text());
        json["stop"]["reason"] = report.stop->reason;
    }
    if (report.result) {
        json["result"] = ResultName(*report.result);
        json["feedback"] = Feedback(report);
    }
    if (report.kept)
        json["kept"] = KeptReasonName(*report.kept);
    if (report.target) {
        json["target"] = {{"id", report.target->id},
                          {"found", report.target->found ? nlohmann::json(*report.target->found) : nlohmann::json()}};
        if (!report.target->name.empty())
            json["target"]["name"] = report.target->name;
    }
    if (report.handedOn)
        json["handedOn"] = *report.handedOn;
    if (report.rconCommand) {
        json["rcon"] = {{"reply", report.rconReply ? nlohmann::json(*report.rconReply) : nlohmann::json()}};
        if (!report.rconNote.empty())
            json["rcon"]["note"] = report.rconNote;
    }
    return json;
}

std::string Feedback(const Report& report)
{
    // With no player, nobody is told.
    if (!report.result || (report.stop && report.stop->rule == StopRule::NoPlayer))
        return {};
    Outcome predicted;
    predicted.result = *report.result;
    predicted.stop = report.stop;
    predicted.kept = report.kept;
    if (predicted.result == Outcome::Result::Partly && report.spawn.contains("made")) {
        predicted.items.emplace();
        predicted.items->made = report.spawn["made"].get<std::int32_t>();
        predicted.items->count = report.spawn["count"].get<std::int32_t>();
    }
    return PlainWords(report.command, predicted);
}

}  // namespace kestrova::check
