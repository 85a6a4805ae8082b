// kestrova-sim run as a child for the soak: its console read and counted as it goes
// (only the last lines are kept, however long it runs), its memory and open files
// sampled from outside, and stopped the way a user stops it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "process/child_process.h"

namespace kestrova::tools {

using process::ProcessUsage;

class SimProcess {
public:
    // Starts `program` with `args`. Throws std::runtime_error when it cannot start.
    SimProcess(const std::string& program, const std::vector<std::string>& args);

    // Waits for a console line that matches `pattern`, seen since the start; its first
    // group (or the whole line). Nothing when the child ends or `wait` runs out first.
    std::optional<std::string> WaitForLine(const std::regex& pattern, std::chrono::milliseconds wait);

    // Console lines so far, and of those the RCON endpoint's notices ("[rcon] ...").
    std::uint64_t Lines() const;
    std::uint64_t NoticeLines() const;
    std::string Tail() const;  // the last lines, for a report

    void WriteInput(std::string_view text) { process_.WriteInput(text); }
    std::optional<int> Wait(std::chrono::milliseconds wait) { return process_.Wait(wait); }

    // Nothing where the platform cannot tell.
    std::optional<ProcessUsage> Usage() const { return process_.Usage(); }

private:
    void TakeOutput(std::string_view piece);
    void TakeLine(std::string line);

    mutable std::mutex mutex_;
    std::condition_variable grew_;
    std::vector<std::string> head_;  // the first lines, where the banner is
    std::deque<std::string> tail_;
    std::string partial_;            // a line not yet ended
    std::uint64_t lines_ = 0;
    std::uint64_t noticeLines_ = 0;
    bool ended_ = false;
    process::ChildProcess process_;  // last: its reader stops before the above go
};

}  // namespace kestrova::tools
