// Replies to an RCON request.
#pragma once

#include "host/game.h"

namespace kestrova {

// Sends `text` to the client as the answer to request `requestId`.
inline void SendRconReply(RCONClientConnection* connection, int requestId, FString& text)
{
    Call<void, int, int, FString&>("RCONClientConnection.SendMessage(int,int,FString&)", connection, requestId, 0, text);
}

}  // namespace kestrova
