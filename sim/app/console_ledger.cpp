// /ledger: the plugin's delivery ledger as an admin reads it on a server: the
// file config.json names, in the plugin's folder under the server's folder, each
// line decoded on one line of its own.
#include <charconv>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "console.h"
#include "console_commands.h"
#include "framework/host.h"

namespace sim {
namespace {

constexpr char kPluginFolder[] = "ArkApi/Plugins/Kestrova";

// The ledger file config.json names; nothing, with `why`, when it names none.
std::optional<std::filesystem::path> LedgerPath(std::string& why)
{
    const std::filesystem::path folder = std::filesystem::path(ServerDir()) / kPluginFolder;
    std::ifstream file(folder / "config.json");
    if (!file.is_open()) {
        why = "There is no config.json in " + folder.string() + ".";
        return std::nullopt;
    }
    const nlohmann::json config = nlohmann::json::parse(file, nullptr, false);
    const auto name = config.is_object() ? config.find("DeliveryLedger") : config.end();
    if (!config.is_object() || name == config.end() || !name->is_string() || name->get<std::string>().empty()) {
        why = "config.json names no delivery ledger (\"DeliveryLedger\": \"deliveries.jsonl\" turns it on).";
        return std::nullopt;
    }
    return folder / name->get<std::string>();
}

std::deque<std::string> LastLines(std::ifstream& file, std::size_t count)
{
    std::deque<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(std::move(line));
        if (lines.size() > count)
            lines.pop_front();
    }
    return lines;
}

std::string Text(const nlohmann::json& value)
{
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// "the server console", "Alice (net id ...)", "rcon 127.0.0.1".
std::string Who(const nlohmann::json& from)
{
    if (!from.is_object())
        return "?";
    if (from.contains("rcon"))
        return "rcon " + Text(from["rcon"]);
    const nlohmann::json& player = from.value("console", nlohmann::json());
    if (!player.is_object())
        return "the server console";
    return fmt::format("{} (net id {})", Text(player.value("name", "?")), Text(player.value("netId", "?")));
}

// "for Bob (1002)"; "for id 9999" where no player has the id; "for no player"
// where the line was too short to name one.
std::string Target(const nlohmann::json& target)
{
    if (!target.is_object())
        return "for no player";
    const std::string id = Text(target.value("id", "?"));
    const nlohmann::json& name = target.value("name", nlohmann::json());
    return name.is_string() ? fmt::format("for {} ({})", name.get<std::string>(), id) : "for id " + id;
}

// "delivered", "nothing (no-such-player)", "kept-in-world (inventory-full)".
std::string Result(const nlohmann::json& outcome)
{
    if (!outcome.is_object())
        return "no outcome";
    std::string result = Text(outcome.value("result", "?"));
    if (const auto stop = outcome.find("stop"); stop != outcome.end() && stop->is_object())
        result += " (" + Text(stop->value("rule", "?")) + ")";
    else if (const auto kept = outcome.find("kept"); kept != outcome.end())
        result += " (" + Text(*kept) + ")";
    else if (const auto error = outcome.find("error"); error != outcome.end())
        result += " (" + Text(*error) + ")";
    return result;
}

std::string Decode(const std::string& line)
{
    const nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
    if (!entry.is_object())
        return "(not one JSON object: a torn or damaged line) " + line.substr(0, 60);
    const std::string time = Text(entry.value("time", "?"));
    if (!entry.contains("order"))
        return fmt::format("{}  {}  by {}  {}  {}", time, Text(entry.value("command", "?")),
                           Who(entry.value("from", nlohmann::json())), Target(entry.value("target", nlohmann::json())),
                           Result(entry.value("outcome", nlohmann::json())));
    const std::string event = Text(entry.value("event", "?"));
    const std::string order = fmt::format("order {} {}", Text(entry["order"]), event);
    if (event == "started")
        return fmt::format("{}  {}  by {}  {}", time, order, Who(entry.value("from", nlohmann::json())),
                           Text(entry.value("line", "")));
    if (event == "settled") {
        const nlohmann::json note = entry.value("note", nlohmann::json());
        return fmt::format("{}  {}  by {}  {}{}", time, order, Who(entry.value("from", nlohmann::json())),
                           Text(entry.value("decision", "?")), note.is_string() ? "  " + note.dump() : "");
    }
    return fmt::format("{}  {}  {}  {}  {}", time, order, Text(entry.value("command", "?")),
                       Target(entry.value("target", nlohmann::json())), Result(entry.value("outcome", nlohmann::json())));
}

}  // namespace

void LedgerCommand(Console& console, std::string_view args)
{
    std::size_t count = 20;
    if (!args.empty()) {
        const auto [end, error] = std::from_chars(args.data(), args.data() + args.size(), count);
        if (error != std::errc() || end != args.data() + args.size()) {
            console.Out() << "Usage: /ledger [N]\n";
            return;
        }
    }
    std::string why;
    const std::optional<std::filesystem::path> path = LedgerPath(why);
    if (!path) {
        console.Out() << why << "\n";
        return;
    }
    std::ifstream file(*path, std::ios::binary);
    if (!file) {
        console.Out() << "The ledger " << path->string() << " has no lines yet.\n";
        return;
    }
    for (const std::string& line : LastLines(file, count))
        console.Out() << Decode(line) << "\n";
}

}  // namespace sim
