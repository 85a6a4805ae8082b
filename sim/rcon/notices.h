// The endpoint's notices for the console, summarised under attack: of each kind at
// most one line a second is shown, and a count of the ones held back follows.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim::rcon {

enum class Notice {
    Refused,        // no room for a new connection
    Evicted,        // an unauthenticated connection closed to make room for a newer one
    AuthTimeout,
    IdleTimeout,
    Malformed,
    BeforeAuth,     // a request before authentication
    UnknownType,
    WrongPassword,  // forgiven, so far
    Lockout,        // a wrong password that locks its address out
    LockedOut,      // an attempt while the address is locked out
    HandOff,        // a request the owner could not take
    NetworkError,
};
inline constexpr std::size_t kNoticeKinds = static_cast<std::size_t>(Notice::NetworkError) + 1;

// "RCON: 12 more wrong passwords (not shown)".
std::string DescribeHeldBack(Notice kind, std::size_t count);

class NoticeThrottle {
public:
    using Clock = std::chrono::steady_clock;

    explicit NoticeThrottle(Clock::duration interval = std::chrono::seconds(1)) : interval_(interval) {}

    // Whether a notice of `kind` may be shown now; when not, it is counted.
    bool Admit(Notice kind, Clock::time_point now);

    // The kinds whose interval has ended with notices held back, and how many of each;
    // each one's count starts again, and its next line waits another interval.
    std::vector<std::pair<Notice, std::size_t>> Due(Clock::time_point now);

    // Every count held back, due or not, as the endpoint stops.
    std::vector<std::pair<Notice, std::size_t>> TakeAll();

    // When Due next has something to say; nothing while nothing is held back.
    std::optional<Clock::time_point> NextDue() const;

private:
    struct Window {
        Clock::time_point end{};  // until then, notices of the kind are held back
        std::size_t held = 0;
    };

    Clock::duration interval_;
    std::array<Window, kNoticeKinds> windows_{};
};

}  // namespace sim::rcon
