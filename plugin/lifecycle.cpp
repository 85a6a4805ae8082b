#include "plugin/lifecycle.h"

#include <exception>

#include "config/config.h"
#include "plugin/command_table.h"
#include "plugin/delivery_ledger.h"
#include "plugin/logger.h"
#include "plugin/member_census.h"
#include "plugin/missing_member_report.h"

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
    ResetMissingMemberReports();
    LogMissingMembers();
    RegisterCommands();
    SyncDeliveryLedger(LedgerSync::AtLoad);
    SyncOrderCommands();
}

void Unload()
{
    UnregisterCommands();
    CloseDeliveryLedger();
}

}  // namespace kestrova
