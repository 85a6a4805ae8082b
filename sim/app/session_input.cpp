#include "session_input.h"

#include <iostream>
#include <thread>

#include "session_queue.h"

namespace sim {

SessionInput::SessionInput() : queue_(std::make_shared<Queue>())
{
    stopWatch_ = std::make_unique<StopWatch>(queue_);

    // The reader owns its share of the queue: it may outlive this object.
    std::thread([queue = queue_] {
        std::string line;
        while (std::getline(std::cin, line))
            queue->Push({SessionEvent::Kind::Line, std::move(line), {}});
        queue->Push({SessionEvent::Kind::EndOfInput, {}, {}});
    }).detach();
}

SessionInput::~SessionInput() = default;

SessionEvent SessionInput::Next()
{
    std::unique_lock lock(queue_->mutex);
    queue_->ready.wait(lock, [this] { return !queue_->events.empty(); });
    SessionEvent event = std::move(queue_->events.front());
    queue_->events.pop_front();
    return event;
}

}  // namespace sim
