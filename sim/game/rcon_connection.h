// An RCON client connection, as the game hands it to RCON command callbacks.
#pragma once

#include <functional>
#include <string>
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

    std::vector<RconReply> replies;                      // every reply, in order
    std::function<void(const RconReply&)> onReply;       // e.g. to send it to a client
};

// Registers RCONClientConnection.SendMessage(int,int,FString&).
void RegisterRconMembers();

}  // namespace sim
