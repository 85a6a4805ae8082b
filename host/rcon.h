// Replies to an RCON request.
#pragma once

#include "host/members.h"

namespace kestrova {

// Sends `text` to the client as the answer to request `requestId`.
inline void SendRconReply(RCONClientConnection* connection, int requestId, FString& text)
{
    Call(member::SendMessage, connection, requestId, 0, text);
}

}  // namespace kestrova
