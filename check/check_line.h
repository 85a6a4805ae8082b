// Checks one command line without running it: which command it names, how the
// command reads each word, and what it then does (or the rule that stops it).
#pragma once

#include "check/report.h"
#include "check/world.h"
#include "host/text.h"

namespace kestrova::check {

// Who issues a line on the console.
struct Issuer {
    enum class Kind {
        Unknown,  // some player at the console
        Server,   // no player: the console commands do nothing
        Player,   // the player with `id`
    };

    Kind kind = Kind::Unknown;
    WideString id;

    static Issuer Server() { return {Kind::Server, {}}; }
    static Issuer Player(WideString id) { return {Kind::Player, std::move(id)}; }
};

struct Context {
    enum class Channel { Console, Rcon };

    const World* world = nullptr;  // null: references and players are not checked
    Channel channel = Channel::Console;
    Issuer issuer;  // on the console
};

Report CheckLine(WideView line, const Context& context);

}  // namespace kestrova::check
