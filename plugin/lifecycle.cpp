#include "plugin/lifecycle.h"

#include <exception>

#include "config/config.h"
#include "plugin/command_table.h"
#include "plugin/delivery_ledger.h"
#include "plugin/logger.h"

namespace kestrova {

void Load()
{
    CreatePluginLogger();
    try {
        LoadConfig();
    } catch (const std::exception& e) {
        PluginLogger()->error("{}", e.what());
        throw;
    }
    RegisterCommands();
    SyncDeliveryLedger();
    SyncOrderCommands();
}

void Unload()
{
    UnregisterCommands();
    CloseDeliveryLedger();
}

}  // namespace kestrova
