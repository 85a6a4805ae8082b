// /check LINE: how the plugin's commands would read a line, checked against this
// world and issued as the current player, without running it.
#include "check/check_line.h"
#include "check/game_world.h"
#include "console.h"
#include "console_commands.h"
#include "game/game.h"

namespace sim {

void CheckCommand(Console& console, std::string_view args)
{
    auto [first, rest] = SplitFirstWord(args);
    const bool json = first == "--json";
    const std::string_view line = json ? rest : args;
    if (line.empty()) {
        console.Out() << "Usage: /check [--json] LINE\n";
        return;
    }
    const kestrova::check::GameWorld world(console.GetGame());
    kestrova::check::Context context;
    context.world = &world;
    const PlayerController* issuer = console.Current();
    context.issuer = issuer == nullptr ? kestrova::check::Issuer::Server() : kestrova::check::Issuer::Player(issuer->id);
    const WideString wide = FromUtf8(line);
    const kestrova::check::Report report = kestrova::check::CheckLine(wide, context);
    console.Out() << (json ? kestrova::check::ToJson(report).dump() + "\n" : kestrova::check::FormatText(report));
}

}  // namespace sim
