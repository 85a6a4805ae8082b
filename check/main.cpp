// kestrova-check: how a command line is read, and why it would do nothing,
// without running it.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "check/check_line.h"
#include "check/game_world.h"
#include "check/platform.h"
#include "game/game.h"
#include "framework/host.h"
#include "framework/memory.h"

namespace {

using namespace kestrova::check;

constexpr char kUsage[] =
    "usage: kestrova-check [--world FILE | --built-in-world] [--as ID|server | --rcon] [--json] [LINE ...]\n"
    "Shows how each command line is read, word by word, and what it does or why it does nothing,\n"
    "without running it. Each LINE argument is one command line; without any, standard input is\n"
    "read, one command line per line.\n"
    "  --world FILE   check blueprint references and player ids against a kestrova-sim world file\n"
    "  --built-in-world  the same against kestrova-sim's built-in world\n"
    "  --as ID        the player who issues the console lines; \"server\" for none\n"
    "  --rcon         the lines are RCON requests, not console lines\n"
    "  --json         one JSON object per command line\n"
    "Exit status: 0 when every line spawns or reloads, 1 when any does nothing, stops part way or\n"
    "is not a command, 2 for a usage or world-file error.\n";

struct Options {
    std::optional<std::string> world;
    bool builtInWorld = false;
    std::optional<std::string> as;
    bool json = false;
    bool rcon = false;
    std::vector<std::string> lines;
};

int Usage(const std::string& problem)
{
    std::cerr << "kestrova-check: " << problem << "\n" << kUsage;
    return 2;
}

// Nullopt and a message for arguments that cannot be used.
std::optional<Options> ParseArguments(const std::vector<std::string>& arguments, std::string& problem)
{
    Options options;
    bool linesOnly = false;  // after "--", every argument is a line
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool needsValue = argument == "--world" || argument == "--as";
        if (needsValue && i + 1 == arguments.size()) {
            problem = argument + " needs a value";
            return std::nullopt;
        }
        if (linesOnly || argument.rfind("--", 0) != 0)
            options.lines.push_back(argument);
        else if (argument == "--")
            linesOnly = true;
        else if (argument == "--world")
            options.world = arguments[++i];
        else if (argument == "--as")
            options.as = arguments[++i];
        else if (argument == "--json")
            options.json = true;
        else if (argument == "--rcon")
            options.rcon = true;
        else if (argument == "--built-in-world")
            options.builtInWorld = true;
        else {
            problem = "unknown option " + argument;
            return std::nullopt;
        }
    }
    if (options.world && options.builtInWorld) {
        problem = "--world and --built-in-world name two worlds";
        return std::nullopt;
    }
    if (options.rcon && options.as) {
        problem = "--as names who issues a console line; an RCON request has no player";
        return std::nullopt;
    }
    return options;
}

bool Succeeded(Verdict verdict) { return verdict == Verdict::Spawns || verdict == Verdict::Reloads; }

}  // namespace

int main(int argc, char** argv)
{
    UseUtf8Output();
    const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    std::string problem;
    const std::optional<Options> options = ParseArguments(arguments, problem);
    if (!options)
        return Usage(problem);

    // Game strings live in the game's memory, here the stand-in's.
    sim::RegisterAllocator();
    std::unique_ptr<sim::Game> game;
    std::unique_ptr<GameWorld> world;
    if (options->world || options->builtInWorld) {
        try {
            game = options->world ? std::make_unique<sim::Game>(sim::ReadWorldFile(*options->world), *options->world)
                                  : std::make_unique<sim::Game>();
        } catch (const sim::WorldError& e) {
            std::cerr << "kestrova-check: " << e.what() << "\n";
            return 2;
        }
        world = std::make_unique<GameWorld>(*game);
    }

    Context context;
    context.world = world.get();
    context.channel = options->rcon ? Context::Channel::Rcon : Context::Channel::Console;
    if (options->as) {
        const sim::WideString id = sim::FromUtf8(*options->as);
        context.issuer = *options->as == "server" ? Issuer::Server() : Issuer::Player(id);
        if (world && context.issuer.kind == Issuer::Kind::Player && !world->Player(context.issuer.id))
            return Usage("--as " + *options->as + ": no player has this id in " +
                         (options->world ? *options->world : std::string(sim::kBuiltInWorld)));
    }

    bool allSucceeded = true;
    const auto check = [&](std::string_view line) {
        const sim::WideString wide = sim::FromUtf8(line);
        const Report report = CheckLine(wide, context);
        allSucceeded = allSucceeded && Succeeded(report.verdict);
        if (options->json)
            std::cout << ToJson(report).dump() << "\n";
        else
            std::cout << FormatText(report) << "\n";
    };
    if (!options->lines.empty()) {
        for (const std::string& line : options->lines)
            check(line);
    } else {
        std::string line;
        for (bool first = true; std::getline(std::cin, line); first = false) {
            if (first && line.rfind("\xEF\xBB\xBF", 0) == 0)
                line.erase(0, 3);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.find_first_not_of(" \t") != std::string::npos)
                check(line);
        }
    }
    std::cout.flush();
    return allSucceeded ? 0 : 1;
}
