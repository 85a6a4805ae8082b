// What the simulator's session waits for: a console line from standard input, the
// end of that input, or a request to stop (SIGINT, SIGTERM or Ctrl+C).
//
// Standard input is read on a thread of its own, so that the session can also end
// while a read is still waiting; that thread is left to end with the process.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include <asio/io_context.hpp>
#include <asio/signal_set.hpp>

namespace sim {

struct SessionEvent {
    enum class Kind { Line, EndOfInput, Stop };
    Kind kind = Kind::Line;
    std::string line;  // for Line
    int signal = 0;    // for Stop
};

class SessionInput {
public:
    // Starts reading standard input and watching for the stop signals.
    SessionInput();
    ~SessionInput();
    SessionInput(const SessionInput&) = delete;
    SessionInput& operator=(const SessionInput&) = delete;

    // Waits for the next event. After the end of input only a stop can follow.
    SessionEvent Next();

private:
    struct Queue;
    std::shared_ptr<Queue> queue_;
    asio::io_context signalIo_{1};
    asio::signal_set signals_{signalIo_};
    std::thread signalThread_;
};

}  // namespace sim
