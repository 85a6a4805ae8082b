#include "plugin/reload.h"

#include <fmt/format.h>

#include "config/config.h"
#include "host/game.h"
#include "host/rcon.h"
#include "plugin/command_table.h"
#include "plugin/delivery_ledger.h"
#include "plugin/json_replies.h"
#include "plugin/logger.h"
#include "plugin/messenger.h"
#include "plugin/settings.h"

namespace kestrova {
namespace {

void LogReloadFailure(const std::exception& e) noexcept
{
    try {
        if (const auto& logger = PluginLogger())
            logger->error("Failed to read config! {}", e.what());
    } catch (...) {
    }
}

// A reload that names another ledger (or none) switches to it.
void SyncLedgerWithConfig()
{
    SyncDeliveryLedger(LedgerSync::AtReload);
    SyncOrderCommands();
}

}  // namespace

void ConsoleReload(APlayerController* player, FString*, bool)
{
    if (player == nullptr)
        return;
    try {
        LoadConfig();
        SyncLedgerWithConfig();
        SendToPlayer(player, kGreen, fmt::format("Reloaded Config!"));
    } catch (const std::exception& e) {
        LogReloadFailure(e);
    }
}

void RconReload(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    std::string error;
    try {
        LoadConfig();
        SyncLedgerWithConfig();
    } catch (const std::exception& e) {
        LogReloadFailure(e);
        error = e.what();
        if (error.empty())
            error = "an error with no message";
    }
    const bool reloaded = error.empty();
    FString reply;
    if (RconRepliesSetting() == RconReplies::Json)
        reply = FString(ReloadReply(reloaded, error).c_str());
    else if (reloaded)
        reply = FString("Reloaded Config!");
    SendRconReply(connection, packet->Id, reply);
}

}  // namespace kestrova
