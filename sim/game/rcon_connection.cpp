#include "rcon_connection.h"

#include "framework/host.h"
#include "game.h"
#include "rcon/protocol.h"
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

void RegisterRconMembers()
{
    RegisterMethod<"RCONClientConnection.SendMessage(int,int,FString&)", &SendMessage>();
    RegisterField<"RCONClientConnection.PeerAddress", &RconConnection::PeerAddress>();
}

bool DispatchRconCommand(Game& game, RconConnection& connection, int requestId, std::string_view line,
                         WideString* bodyAfter)
{
    RCONPacket packet;
    packet.Id = requestId;
    packet.Type = rcon::kExecCommand;
    packet.Body = FString(WideView(FromUtf8(line)));
    packet.Length = packet.Body.Len();
    const bool known =
        GetRegistry().DispatchRcon(Handle<RCONClientConnection>(&connection), packet, Handle<UWorld>(&game.GetWorld()));
    if (bodyAfter != nullptr)
        *bodyAfter = WideString(packet.Body.View());
    return known;
}

}  // namespace sim
