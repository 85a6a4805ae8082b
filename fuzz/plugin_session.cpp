#include "plugin_session.h"

#include <fstream>

#include "AsaApi.h"
#include "fuzz/invariants.h"
#include "framework/memory.h"
#include "plugin/lifecycle.h"

namespace kestrova::fuzz {

PluginSession::PluginSession(std::string_view target)
{
    const auto root = std::filesystem::temp_directory_path() / ("kestrova-fuzz-" + std::string(target));
    std::filesystem::create_directories(root / "ArkApi" / "Plugins" / "Kestrova");
    configPath_ = root / "ArkApi" / "Plugins" / "Kestrova" / "config.json";
    std::ofstream(configPath_, std::ios::binary | std::ios::trunc) << "{}";
    sim::SetCurrentDir(root.string());
    log_ = std::make_shared<sim::CapturingSink>();
    GetLogSinks() = {log_};
    game_ = std::make_unique<sim::Game>();
    Load();
}

void PluginSession::Begin()
{
    game_->Reset();
    log_->Clear();
    // The game clears the registry when it starts afresh; the plugin's commands
    // must be there for every input.
    Load();
    baseline_ = sim::GetMemoryStats().liveBlocks - game_->HeldBlocks();
}

void PluginSession::End()
{
    Require(sim::GetRegistry().EscapedExceptions() == 0, "an exception escaped a command callback");
    Require(sim::GetMemoryStats().liveBlocks - game_->HeldBlocks() == baseline_,
            "game-allocated blocks left live by the plugin");
}

void PluginSession::Console(std::string_view id, std::string_view line)
{
    FString text(sim::WideView(sim::FromUtf8(line)));
    sim::PlayerController* player = game_->FindPlayer(id);
    sim::GetRegistry().DispatchConsole(sim::Handle<APlayerController>(player), text);
}

std::vector<sim::RconReply> PluginSession::Rcon(std::string_view line, int requestId)
{
    sim::RconConnection& connection = game_->MakeRconConnection();
    sim::DispatchRconCommand(*game_, connection, requestId, line);
    return connection.replies;
}

}  // namespace kestrova::fuzz
