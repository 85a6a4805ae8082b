// The host framework's services. Every singleton is fetched afresh at each use.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <spdlog/sinks/sink.h>

#include "Export.h"
#include "FName.h"
#include "FString.h"
#include "GameClasses.h"
#include "GameStructs.h"
#include "ICommands.h"
#include "IApiUtils.h"
#include "RCONPacket.h"
#include "Resolve.h"

namespace AsaApi {
SDK_API ICommands& GetCommands();
SDK_API IApiUtils& GetApiUtils();

namespace Tools {
// The server's current directory, narrow, without a trailing separator.
SDK_API std::string GetCurrentDir();
}  // namespace Tools
}  // namespace AsaApi

// The host's log sinks, shared with every plugin logger.
SDK_API std::vector<spdlog::sink_ptr>& GetLogSinks();
