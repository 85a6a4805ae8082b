// An RCON client connection, as the game hands it to RCON command callbacks.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "object.h"

namespace sim {

struct RconReply {
    int id = 0;
    int type = 0;
    WideString text;
};

class RconConnection : public Object {
public:
    using Object::Object;

    FString PeerAddress;                                 // the client's address and port, "127.0.0.1:50123"
    std::vector<RconReply> replies;                      // every reply, in order
    std::function<void(const RconReply&)> onReply;       // e.g. to send it to a client
};

// Registers RCONClientConnection.SendMessage(int,int,FString&) and .PeerAddress.
void RegisterRconMembers();

class Game;

// Hands `line` to the plugins' RCON commands as the game does a request that
// arrived on `connection`: as a command packet whose body is the line. False
// when no RCON command has the line's first word as its name. `bodyAfter`, when
// given, receives the packet's body as the commands left it.
bool DispatchRconCommand(Game& game, RconConnection& connection, int requestId, std::string_view line,
                         WideString* bodyAfter = nullptr);

}  // namespace sim
