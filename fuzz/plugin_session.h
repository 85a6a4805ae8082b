// One simulated game with the plugin loaded, shared by every input of a fuzz
// target: the game starts afresh for each input, the plugin stays loaded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/host.h"
#include "game/game.h"

namespace kestrova::fuzz {

class PluginSession {
public:
    // A server folder of the target's own under the temporary directory, with an
    // empty configuration; the host's one log sink keeps what the plugin logs.
    explicit PluginSession(std::string_view target);

    sim::Game& Game() { return *game_; }
    const std::filesystem::path& ConfigPath() const { return configPath_; }

    // Starts the game afresh, forgets the log lines and records the allocator's balance.
    void Begin();
    // Checks that no exception escaped and nothing the plugin allocated is live.
    void End();

    // One line on the console, as the player with that id.
    void Console(std::string_view id, std::string_view line);
    // One RCON request; the replies it got.
    std::vector<sim::RconReply> Rcon(std::string_view line, int requestId);

    // What the plugin logged since Begin.
    std::vector<std::string> Logged() { return log_->Lines(); }

private:
    std::filesystem::path configPath_;
    std::shared_ptr<sim::CapturingSink> log_;
    std::unique_ptr<sim::Game> game_;
    std::int64_t baseline_ = 0;
};

}  // namespace kestrova::fuzz
