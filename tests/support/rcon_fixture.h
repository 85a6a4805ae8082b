// The RCON endpoint in this process, in front of a game thread, for tests that reach
// it over loopback. The command code echoes each request unless a test gives its own.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "client/rcon_client.h"
#include "rcon/game_thread.h"
#include "rcon/server.h"

namespace kestrova::test {

using tools::RconClient;

// Waits until `done`, for as long as something that should happen at once may take;
// false when it never did.
template <typename Predicate>
bool WaitUntil(Predicate done)
{
    const auto deadline = std::chrono::steady_clock::now() + RconClient::kWait;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class RconFixture : public ::testing::Test {
protected:
    static constexpr char kPassword[] = "secret";

    // A free port, the password above, every other limit as the server has it.
    static sim::rcon::ServerOptions Options();

    void Start(sim::rcon::ServerOptions options = Options());

    // The server, then the game thread, while the whole test object still stands.
    void TearDown() override;

    // Runs on the game thread; by default answers "echo: " and the body.
    virtual void Answer(const sim::rcon::Request& request, const sim::rcon::Respond& respond);

    // A new connection from `from` (another loopback address stands for another machine).
    std::unique_ptr<RconClient> Connect(const std::string& from = "127.0.0.1");
    std::unique_ptr<RconClient> Authenticated(const std::string& from = "127.0.0.1");

    std::vector<std::string> Notes();
    bool Noted(std::string_view part);

    std::mutex mutex_;
    sim::rcon::GameThread game_;
    std::unique_ptr<sim::rcon::Server> server_;  // stops before the game thread does

private:
    std::vector<std::string> notes_;
};

}  // namespace kestrova::test
