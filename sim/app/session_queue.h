// The queue between SessionInput's sources (the reader thread, the stop watch) and
// the session. Internal to session_input*.cpp.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "session_input.h"

namespace sim {

struct SessionInput::Queue {
    void Push(SessionEvent event)
    {
        {
            std::lock_guard lock(mutex);
            events.push_back(std::move(event));
        }
        ready.notify_one();
    }

    std::mutex mutex;
    std::condition_variable ready;
    std::deque<SessionEvent> events;
};

// Watches for this platform's requests to stop and pushes a Stop event for each.
class SessionInput::StopWatch {
public:
    explicit StopWatch(std::shared_ptr<Queue> queue);
    ~StopWatch();  // the session is over
    StopWatch(const StopWatch&) = delete;
    StopWatch& operator=(const StopWatch&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace sim
