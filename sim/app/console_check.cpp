// /check [--json] [--rcon] LINE: how the plugin's commands would read a line,
// checked against this world, issued as the current player or as an RCON
// request, without running it.
#include "check/check_line.h"
#include "check/game_world.h"
#include "console.h"
#include "console_commands.h"
#include "game/game.h"

namespace sim {

void CheckCommand(Console& console, std::string_view args)
{
    bool json = false;
    bool rcon = false;
    std::string_view line = args;
    while (true) {
        const auto [first, rest] = SplitFirstWord(line);
        if (first == "--json")
            json = true;
        else if (first == "--rcon")
            rcon = true;
        else
            break;
        line = rest;
    }
    if (line.empty()) {
        console.Out() << "Usage: /check [--json] [--rcon] LINE\n";
        return;
    }
    const kestrova::check::GameWorld world(console.GetGame());
    kestrova::check::Context context;
    context.world = &world;
    context.channel = rcon ? kestrova::check::Context::Channel::Rcon : kestrova::check::Context::Channel::Console;
    const PlayerController* issuer = console.Current();
    context.issuer =
        issuer == nullptr ? kestrova::check::Issuer::Server() : kestrova::check::Issuer::Player(issuer->id);
    const WideString wide = FromUtf8(line);
    const kestrova::check::Report report = kestrova::check::CheckLine(wide, context);
    console.Out() << (json ? kestrova::check::ToJson(report).dump() + "\n" : kestrova::check::FormatText(report));
}

}  // namespace sim
