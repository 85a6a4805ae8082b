#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "rcon/game_thread.h"

namespace sim::rcon {
namespace {

TEST(RconGameThread, RunsTasksFromManyThreadsOneAtATimeInPostingOrder)
{
    GameThread game;
    std::vector<int> order;
    std::atomic<int> running = 0;
    bool overlapped = false;
    std::thread::id runner;
    std::vector<std::thread> posters;
    for (int t = 0; t < 4; ++t) {
        posters.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                game.Post([&] {
                    overlapped |= ++running > 1;
                    runner = std::this_thread::get_id();
                    --running;
                });
            }
        });
    }
    for (auto& poster : posters)
        poster.join();
    for (int i = 0; i < 5; ++i)
        game.Post([&order, i] { order.push_back(i); });
    game.Call([] {});

    EXPECT_FALSE(overlapped);
    EXPECT_NE(runner, std::this_thread::get_id());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(RconGameThread, CallWaitsRethrowsAndRunsInlineOnTheGameThread)
{
    std::vector<std::string> failures;
    GameThread game([&](std::string_view what) { failures.emplace_back(what); });
    int value = 0;
    EXPECT_TRUE(game.Call([&] { value = 1; }));
    EXPECT_EQ(value, 1);
    EXPECT_THROW(game.Call([] { throw std::runtime_error("boom"); }), std::runtime_error);

    bool inner = false;
    game.Call([&] { game.Call([&] { inner = game.IsGameThread(); }); });
    EXPECT_TRUE(inner);

    // A posted task that throws is reported and does not end the thread.
    game.Post([] { throw std::runtime_error("posted"); });
    game.Call([] {});
    EXPECT_EQ(failures, std::vector<std::string>{"posted"});
}

TEST(RconGameThread, StopRunsWhatWasPostedAndRefusesMore)
{
    GameThread game;
    int ran = 0;
    for (int i = 0; i < 50; ++i)
        game.Post([&] { ++ran; });
    game.Stop();
    EXPECT_EQ(ran, 50);
    EXPECT_FALSE(game.Post([&] { ++ran; }));
    EXPECT_FALSE(game.Call([&] { ++ran; }));
    EXPECT_EQ(ran, 50);
}

}  // namespace
}  // namespace sim::rcon
