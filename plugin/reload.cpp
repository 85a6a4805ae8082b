#include "plugin/reload.h"

#include <fmt/format.h>

#include "config/config.h"
#include "host/game.h"
#include "host/rcon.h"
#include "plugin/library_path.h"
#include "plugin/logger.h"

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

}  // namespace

void ConsoleReload(APlayerController* player, FString*, bool)
{
    if (player == nullptr)
        return;
    try {
        LoadConfig();
        const FString pluginPath{WideView(PluginLibraryPath())};
        const std::shared_ptr<PluginMessenger> messenger = AsaApi::GetApiUtils().GetPluginMessenger(pluginPath);
        const std::string text = fmt::format("Reloaded Config!");
        messenger->SendPlayerMessage(AsShooterController(player), 0.0f, 1.0f, 0.0f, 1.0f, FString(text.c_str()));
    } catch (const std::exception& e) {
        LogReloadFailure(e);
    }
}

void RconReload(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    FString reply;
    try {
        LoadConfig();
        reply = FString("Reloaded Config!");
    } catch (const std::exception& e) {
        LogReloadFailure(e);
    }
    SendRconReply(connection, packet->Id, reply);
}

}  // namespace kestrova
