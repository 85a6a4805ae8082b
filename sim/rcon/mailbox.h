// Lets other threads hand work to the network thread for as long as it runs: after
// Close, what they hand in is dropped, even once the io_context is gone.
#pragma once

#include <mutex>
#include <utility>

#include <asio/io_context.hpp>
#include <asio/post.hpp>

namespace sim::rcon {

class Mailbox {
public:
    explicit Mailbox(asio::io_context& io) : io_(&io) {}

    template <typename Handler>
    void Post(Handler&& handler)
    {
        std::lock_guard lock(mutex_);
        if (io_)
            asio::post(*io_, std::forward<Handler>(handler));
    }

    void Close()
    {
        std::lock_guard lock(mutex_);
        io_ = nullptr;
    }

private:
    std::mutex mutex_;
    asio::io_context* io_;
};

}  // namespace sim::rcon
