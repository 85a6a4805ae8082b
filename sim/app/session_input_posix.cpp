#include <csignal>
#include <string>
#include <thread>

#include <asio/io_context.hpp>
#include <asio/signal_set.hpp>

#include "session_queue.h"

namespace sim {

struct SessionInput::StopWatch::State {
    asio::io_context io{1};
    asio::signal_set signals{io};
    std::thread thread;
};

SessionInput::StopWatch::StopWatch(std::shared_ptr<Queue> queue) : state_(std::make_unique<State>())
{
    std::error_code ignored;
    state_->signals.add(SIGINT, ignored);
    state_->signals.add(SIGTERM, ignored);
    state_->signals.async_wait([queue = std::move(queue)](std::error_code error, int signal) {
        if (!error)
            queue->Push({SessionEvent::Kind::Stop, {}, "signal " + std::to_string(signal)});
    });
    state_->thread = std::thread([state = state_.get()] { state->io.run(); });
}

SessionInput::StopWatch::~StopWatch()
{
    std::error_code ignored;
    state_->signals.cancel(ignored);
    state_->signals.clear(ignored);
    state_->io.stop();
    if (state_->thread.joinable())
        state_->thread.join();
}

const char* SessionInput::StopRequests() { return "SIGINT or SIGTERM"; }

}  // namespace sim
