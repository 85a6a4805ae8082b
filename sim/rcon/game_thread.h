// The game thread: runs tasks one at a time, in the order they were posted, on a
// thread of its own. Console lines and RCON commands both run here, so command
// code never runs concurrently with itself.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>

namespace sim::rcon {

class GameThread {
public:
    // `failed` hears of a posted task that threw; by default it is written to stderr.
    explicit GameThread(std::function<void(std::string_view)> failed = {});
    ~GameThread();

    GameThread(const GameThread&) = delete;
    GameThread& operator=(const GameThread&) = delete;

    // From any thread. False, and the task is dropped, once Stop has begun.
    bool Post(std::function<void()> task);

    // Runs `task` on the game thread and waits for it to end; what it throws is thrown
    // here. Called on the game thread itself, it runs the task at once. False if stopped.
    bool Call(std::function<void()> task);

    // Runs the tasks already posted, then ends the thread. Not from the game thread.
    void Stop();

    bool IsGameThread() const;

private:
    void Run();

    std::function<void(std::string_view)> failed_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace sim::rcon
