#include "session_input.h"

#include <condition_variable>
#include <csignal>
#include <deque>
#include <iostream>
#include <mutex>

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

SessionInput::SessionInput() : queue_(std::make_shared<Queue>())
{
    std::error_code ignored;
    signals_.add(SIGINT, ignored);
    signals_.add(SIGTERM, ignored);
    signals_.async_wait([queue = queue_](std::error_code error, int signal) {
        if (!error)
            queue->Push({SessionEvent::Kind::Stop, {}, signal});
    });
    signalThread_ = std::thread([this] { signalIo_.run(); });

    // The reader owns its share of the queue: it may outlive this object.
    std::thread([queue = queue_] {
        std::string line;
        while (std::getline(std::cin, line))
            queue->Push({SessionEvent::Kind::Line, std::move(line), 0});
        queue->Push({SessionEvent::Kind::EndOfInput, {}, 0});
    }).detach();
}

SessionInput::~SessionInput()
{
    std::error_code ignored;
    signals_.cancel(ignored);
    signals_.clear(ignored);
    signalIo_.stop();
    if (signalThread_.joinable())
        signalThread_.join();
}

SessionEvent SessionInput::Next()
{
    std::unique_lock lock(queue_->mutex);
    queue_->ready.wait(lock, [this] { return !queue_->events.empty(); });
    SessionEvent event = std::move(queue_->events.front());
    queue_->events.pop_front();
    return event;
}

}  // namespace sim
