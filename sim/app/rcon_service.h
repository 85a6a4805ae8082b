// RCON in the simulator: the endpoint in front of the game thread. Each request is
// run in the game on the game thread, one at a time with the console's lines, and
// the traffic is shown on the console.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "options.h"
#include "rcon/game_thread.h"
#include "rcon/server.h"

namespace sim {

class Game;
class RconConnection;

class RconService {
public:
    // `show` prints one line on the console; it is called on the game thread.
    using Show = std::function<void(const std::string& line)>;

    RconService(Game& game, rcon::GameThread& gameThread, Show show);
    ~RconService();
    RconService(const RconService&) = delete;
    RconService& operator=(const RconService&) = delete;

    // Listens as `options` say. False, with `error` saying why, when RCON cannot run.
    bool Start(const RconOptions& options, std::string& error);

    // Closes every connection; requests still on the game thread are answered into
    // nothing. Not from the game thread.
    void Stop();

    bool Running() const { return server_ != nullptr; }
    std::uint16_t Port() const;
    const std::string& Password() const { return password_; }

private:
    void Run(const rcon::Request& request, const rcon::Respond& respond);
    RconConnection& ConnectionFor(const rcon::Request& request);

    Game& game_;
    rcon::GameThread& gameThread_;
    Show show_;
    std::string password_;
    std::map<std::string, RconConnection*> connections_;  // one per client address; game thread only
    std::uint64_t requests_ = 0;                          // command requests run; game thread only
    std::uint64_t dropReply_ = 0;                         // RconOptions::dropReply
    std::unique_ptr<rcon::Server> server_;
};

// The password RCON runs with, or an error when none may be assumed: the default
// one is only for a server that listens on this machine alone.
bool ChooseRconPassword(const RconOptions& options, std::string& password, std::string& error);

}  // namespace sim
