// The simulator's console: one input line at a time, issued on the game's
// console as the current player, or one of the stand-in's own "/" commands.
//
//   /as ID, /as server     make another player current, or issue lines with no player
//   @ID line, @server line issue one line so
//
// Messages that the plugin sends to players are shown as they arrive.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "framework/host.h"

namespace sim {

class Game;
class PlayerController;
class RconConnection;

class Console {
public:
    // `colour`: write ANSI colour escapes (the output is a terminal).
    Console(Game& game, std::ostream& out, bool colour);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Runs one input line.
    void Execute(std::string_view line);

    // Issues `line` on the game's console as `player` (null: the server).
    void Issue(PlayerController* player, std::string_view line);

    // The player that lines are issued as; null for the server.
    PlayerController* Current() const { return current_; }
    void SetCurrent(PlayerController* player) { current_ = player; }

    // "Alice (1001)" or "the server".
    static std::string Describe(const PlayerController* player);

    // Resolves "server" to null and an id to its player. False for an unknown id.
    bool FindIssuer(std::string_view who, PlayerController*& player) const;

    bool QuitRequested() const { return quit_; }
    void RequestQuit() { quit_ = true; }

    Game& GetGame() { return game_; }
    std::ostream& Out() { return out_; }
    bool Colour() const { return colour_; }

    // The connection that /rcon requests come from, made on first use.
    RconConnection& Rcon();
    int NextRconRequestId() { return ++rconRequests_; }

private:
    void ShowMessage(const PlayerMessage& message);
    void RunStandIn(std::string_view line);

    Game& game_;
    std::ostream& out_;
    bool colour_;
    PlayerController* current_ = nullptr;
    RconConnection* rcon_ = nullptr;
    int rconRequests_ = 0;
    bool quit_ = false;
};

// The first blank-separated word of `text` and what follows it, trimmed.
std::pair<std::string_view, std::string_view> SplitFirstWord(std::string_view text);

// What the server says to a line whose first word names no command, on the
// console and over RCON: "Unknown command: NAME".
std::string UnknownCommand(std::string_view line);

}  // namespace sim
