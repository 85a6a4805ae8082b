// A fresh simulated game for every test: the default world (or one given as
// JSON), the host's log sinks holding only a capturing sink, and a console to
// run lines through. After each test the game-allocated blocks must be back
// where they were when the test started, apart from those that game objects hold
// in their own strings and arrays (a creature's tamer name, a cryopod's record):
// what the plugin hands to the game belongs to the game, what it keeps must go.
#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/console.h"
#include "game/game.h"
#include "framework/journal.h"
#include "framework/memory.h"

namespace kestrova::test {

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts again from a world description given as world-file text.
    void StartGame(std::string_view worldJson);

    sim::Game& Game() { return *game_; }
    sim::Journal& Journal() { return sim::GetJournal(); }
    sim::CommandRegistry& Registry() { return sim::GetRegistry(); }

    // The player with that id; throws std::invalid_argument when there is none.
    sim::PlayerController& Player(std::string_view id);
    // The same player as the plugin receives it; "server" gives null.
    AShooterPlayerController* Controller(std::string_view id);
    APlayerController* ConsoleController(std::string_view id);

    // Live game-allocated blocks now that no game object holds, less those live
    // and not held when the test started: what the test's commands left over.
    std::int64_t LiveBlocks() const;
    // Blocks held by game objects now, less those held when the test started.
    std::int64_t HeldBlocks() const;
    sim::MemoryStats Memory() const { return sim::GetMemoryStats(); }

    // The lines logged on the host's sinks since the test started.
    std::vector<std::string> LogLines() { return sink_->Lines(); }
    sim::CapturingSink& Log() { return *sink_; }

    // Messages sent to players through the messenger, in order.
    const std::vector<sim::PlayerMessage>& Messages() const { return sim::GetUtils().messages; }

    // Runs one input line through the console (as its current player; "/as" and
    // "@ID" work as typed) and returns what the console printed for it.
    std::string RunConsole(std::string_view line);
    // Runs one line as the player with that id ("server": no player).
    std::string RunConsoleAs(std::string_view id, std::string_view line);

    // Sends one RCON request on a connection of its own; returns its replies.
    // `known` tells whether any RCON registration took the line.
    std::vector<sim::RconReply> RunRcon(std::string_view line, int requestId = 1, bool* known = nullptr);

    // Set false in a test that deliberately leaves game-allocated blocks live.
    bool checkMemory_ = true;

private:
    void StartConsole();

    std::shared_ptr<sim::CapturingSink> sink_;
    std::unique_ptr<sim::Game> game_;
    std::ostringstream consoleOut_;
    std::unique_ptr<sim::Console> console_;
    std::int64_t baselineBlocks_ = 0;  // live and not held by the game
    std::int64_t baselineHeld_ = 0;
};

}  // namespace kestrova::test
