// A program run as a child of the test, its standard input a pipe the test writes
// to and its standard output and error gathered together, whole, for the test to
// match against. Every wait is bounded.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "process/child_process.h"

namespace kestrova::test {

class ChildProcess {
public:
    // Starts `program` with `args`. Throws std::runtime_error when it cannot start.
    ChildProcess(const std::string& program, const std::vector<std::string>& args);

    void WriteInput(std::string_view text) { process_.WriteInput(text); }
    void CloseInput() { process_.CloseInput(); }

    // Waits until the output so far matches `pattern`; the first group of the first
    // match, or nothing when the child ends or `wait` runs out first.
    std::optional<std::string> WaitForOutput(const std::regex& pattern,
                                             std::chrono::milliseconds wait = std::chrono::seconds(10));
    std::string Output() const;

    // Waits until the child's side of the output has closed (it has ended, mostly).
    bool WaitForEndOfOutput(std::chrono::milliseconds wait = std::chrono::seconds(10));

    // Asks the child to stop as a user would stop the program: SIGTERM, or where
    // there are no signals, ending the process.
    void Terminate() { process_.Terminate(); }

    // The exit status once the child has ended; nothing when `wait` runs out first.
    // A child ended by a signal reports 128 plus the signal's number.
    std::optional<int> Wait(std::chrono::milliseconds wait = std::chrono::seconds(10)) { return process_.Wait(wait); }

private:
    void TakeOutput(std::string_view piece);

    mutable std::mutex mutex_;
    std::condition_variable grew_;
    std::string output_;
    bool outputEnded_ = false;
    process::ChildProcess process_;  // last: its reader stops before the above go
};

// Runs `program` to its end, input closed at once; its exit status and output. The
// status is nothing when it ran longer than `wait` (it is then killed).
struct ProgramRun {
    std::optional<int> status;
    std::string output;
};
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      std::chrono::milliseconds wait = std::chrono::seconds(20));

// Appends a program's output to `text`. Windows programs end text lines with
// "\r\n"; they are kept as "\n", so that tests compare the lines alone.
void AppendText(std::string& text, std::string_view more);

using process::FindProgram;
using process::TerminateAsksToStop;

}  // namespace kestrova::test
