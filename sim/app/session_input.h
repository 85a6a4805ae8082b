// What the simulator's session waits for: a console line from standard input, the
// end of that input, or a request to stop (SIGINT or SIGTERM; on Windows Ctrl+C,
// Ctrl+Break or the console window closing).
//
// Standard input is read on a thread of its own, so that the session can also end
// while a read is still waiting; that thread is left to end with the process.
#pragma once

#include <memory>
#include <string>

namespace sim {

struct SessionEvent {
    enum class Kind { Line, EndOfInput, Stop };
    Kind kind = Kind::Line;
    std::string line;  // for Line
    std::string why;   // for Stop: "signal 15", "Ctrl+Break", ...
};

class SessionInput {
public:
    // Starts reading standard input and watching for requests to stop.
    SessionInput();
    // The session is over (the plugin unloaded): a console that is closing may go.
    ~SessionInput();
    SessionInput(const SessionInput&) = delete;
    SessionInput& operator=(const SessionInput&) = delete;

    // Waits for the next event. After the end of input only a stop can follow.
    SessionEvent Next();

    // What stops the session on this platform, for messages: "SIGINT or SIGTERM".
    static const char* StopRequests();

    struct Queue;
    class StopWatch;  // per platform

private:
    std::shared_ptr<Queue> queue_;
    std::unique_ptr<StopWatch> stopWatch_;
};

#ifdef _WIN32
// The console control handler that SessionInput installs: Ctrl+C, Ctrl+Break, the
// console closing. Tests call it as Windows would, since Wine cannot send a
// control event to another process.
int __stdcall OnConsoleEvent(unsigned long event);
#endif

}  // namespace sim
