#include "rcon_connection.h"

#include "thunk.h"

namespace sim {
namespace {

void SendMessage(RconConnection* self, int id, int type, FString& text)
{
    const RconReply reply{id, type, WideString(text.View())};
    self->replies.push_back(reply);
    if (self->onReply)
        self->onReply(reply);
}

}  // namespace

void RegisterRconMembers() { RegisterMethod<"RCONClientConnection.SendMessage(int,int,FString&)", &SendMessage>(); }

}  // namespace sim
