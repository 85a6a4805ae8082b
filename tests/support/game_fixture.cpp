#include "support/game_fixture.h"

#include <stdexcept>

#include "AsaApi.h"

namespace kestrova::test {

void GameTest::SetUp()
{
    sink_ = std::make_shared<sim::CapturingSink>();
    GetLogSinks() = {sink_};
    game_ = std::make_unique<sim::Game>();
    StartConsole();
    baselineBlocks_ = sim::GetMemoryStats().liveBlocks - game_->HeldBlocks();
    baselineHeld_ = game_->HeldBlocks();
}

void GameTest::TearDown()
{
    console_.reset();
    EXPECT_EQ(Registry().EscapedExceptions(), 0) << "last: " << Registry().LastEscapedWhat();
    if (checkMemory_) {
        EXPECT_EQ(LiveBlocks(), 0) << "game-allocated blocks left live by the test";
    }
    game_.reset();
    GetLogSinks().clear();
}

void GameTest::StartGame(std::string_view worldJson)
{
    console_.reset();
    game_->Reset(sim::ParseWorld(worldJson, "test world"), "test world");
    StartConsole();
}

void GameTest::StartConsole()
{
    consoleOut_.str({});
    console_ = std::make_unique<sim::Console>(*game_, consoleOut_, false);
}

sim::PlayerController& GameTest::Player(std::string_view id)
{
    sim::PlayerController* player = game_->FindPlayer(id);
    if (player == nullptr)
        throw std::invalid_argument("no player with id " + std::string(id));
    return *player;
}

AShooterPlayerController* GameTest::Controller(std::string_view id)
{
    return id == "server" ? nullptr : sim::Handle<AShooterPlayerController>(&Player(id));
}

APlayerController* GameTest::ConsoleController(std::string_view id)
{
    return id == "server" ? nullptr : sim::Handle<APlayerController>(&Player(id));
}

std::int64_t GameTest::LiveBlocks() const
{
    return sim::GetMemoryStats().liveBlocks - game_->HeldBlocks() - baselineBlocks_;
}

std::int64_t GameTest::HeldBlocks() const { return game_->HeldBlocks() - baselineHeld_; }

std::string GameTest::RunConsole(std::string_view line)
{
    consoleOut_.str({});
    console_->Execute(line);
    return consoleOut_.str();
}

std::string GameTest::RunConsoleAs(std::string_view id, std::string_view line)
{
    return RunConsole("@" + std::string(id) + " " + std::string(line));
}

std::vector<sim::RconReply> GameTest::RunRcon(std::string_view line, int requestId, bool* known)
{
    sim::RconConnection& connection = game_->MakeRconConnection();
    const bool dispatched = sim::DispatchRconCommand(*game_, connection, requestId, line);
    if (known != nullptr)
        *known = dispatched;
    return connection.replies;
}

}  // namespace kestrova::test
