// One RCON request as the host hands it to an RCON command callback.
#pragma once

#include "FString.h"

struct RCONPacket {
    int32 Length = 0;
    int32 Id = 0;    // the request id that a reply must carry
    int32 Type = 0;
    FString Body;    // the command line, name first
};
