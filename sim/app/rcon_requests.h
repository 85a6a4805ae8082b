// RCON requests as the game runs them: on the game thread, through the host's
// command registry, with the replies the command sent on its connection.
#pragma once

#include <string>
#include <vector>

#include "rcon/request.h"

namespace sim {

class Game;
class RconConnection;

// Runs one request: its body becomes the packet's text, the RCON registration named
// by its first word is called with `connection`, and what the command sent through
// the connection comes back as the replies, in order. A first word that nothing is
// registered for is answered by the stand-in itself.
std::vector<rcon::Reply> RunRconRequest(Game& game, RconConnection& connection, const rcon::Request& request);

// One line for the console: "[rcon 127.0.0.1] Kestrova.Reload -> Reloaded Config!".
std::string DescribeRconTraffic(const rcon::Request& request, const std::vector<rcon::Reply>& replies);

}  // namespace sim
