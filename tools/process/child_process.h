// A program run as a child: its standard input a pipe the parent writes to, its
// standard output and error gathered into one pipe that a thread of its own
// reads. Every wait is bounded. The tests and the soak tool build on it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kestrova::process {

struct ProcessUsage {
    std::uint64_t residentBytes = 0;  // resident set (working set on Windows)
    std::uint64_t openFiles = 0;      // file descriptors (handles on Windows)
};

class ChildProcess {
public:
    // Takes each piece of output as it arrives, on the reader thread; then an
    // empty piece once, when the output has ended.
    using OutputSink = std::function<void(std::string_view)>;

    // Starts `program` with `args`. Throws std::runtime_error when it cannot start.
    ChildProcess(const std::string& program, const std::vector<std::string>& args, OutputSink sink);
    // Closes the input; a child still running is asked to stop, killed after a
    // bounded wait, and reaped. The sink has had its last call when this returns.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void WriteInput(std::string_view text);
    void CloseInput();

    // Asks the child to stop as a user would stop the program: SIGTERM, or where
    // there are no signals, ending the process.
    void Terminate();
    void Kill();

    // The exit status once the child has ended; nothing when `wait` runs out first.
    // A child ended by a signal reports 128 plus the signal's number.
    std::optional<int> Wait(std::chrono::milliseconds wait);

    // Its memory and open files; nothing where the platform cannot tell.
    std::optional<ProcessUsage> Usage() const;

private:
    struct Platform;  // the process handle and the pipes, per platform
    struct PlatformDeleter {
        void operator()(Platform* platform) const;
    };

    void ReadOutput();
    // Blocks for the next output bytes; 0 at its end.
    std::size_t ReadSome(char* buffer, std::size_t size);
    void ReleaseHandles();  // the pipes, and the process handle where there is one

    std::unique_ptr<Platform, PlatformDeleter> platform_;
    OutputSink sink_;
    std::thread reader_;
};

// Whether Terminate asks politely (a signal the program can handle) on this platform.
bool TerminateAsksToStop();

// The full path of `name` on the search path, or nothing.
std::optional<std::string> FindProgram(const std::string& name);

}  // namespace kestrova::process
