#include "rcon/notices.h"

namespace sim::rcon {
namespace {

const char* Plural(Notice kind)
{
    switch (kind) {
    case Notice::Refused: return "refused connections";
    case Notice::Evicted: return "unauthenticated connections closed to make room";
    case Notice::AuthTimeout: return "connections that did not authenticate in time";
    case Notice::IdleTimeout: return "idle connections closed";
    case Notice::Malformed: return "malformed packets";
    case Notice::BeforeAuth: return "requests before authentication";
    case Notice::UnknownType: return "packets of unknown type";
    case Notice::WrongPassword: return "wrong passwords";
    case Notice::Lockout: return "lock-outs";
    case Notice::LockedOut: return "attempts while locked out";
    case Notice::HandOff: return "requests that could not be handed on";
    case Notice::NetworkError: return "network thread errors";
    }
    return "notices";
}

}  // namespace

std::string DescribeHeldBack(Notice kind, std::size_t count)
{
    return "RCON: " + std::to_string(count) + " more " + Plural(kind) + " (not shown)";
}

bool NoticeThrottle::Admit(Notice kind, Clock::time_point now)
{
    Window& window = windows_[static_cast<std::size_t>(kind)];
    // A count not yet reported goes first, so this one joins it.
    if (now < window.end || window.held > 0) {
        ++window.held;
        return false;
    }
    window.end = now + interval_;
    return true;
}

std::vector<std::pair<Notice, std::size_t>> NoticeThrottle::Due(Clock::time_point now)
{
    std::vector<std::pair<Notice, std::size_t>> due;
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        Window& window = windows_[i];
        if (window.held == 0 || now < window.end)
            continue;
        due.emplace_back(static_cast<Notice>(i), window.held);
        window.held = 0;
        window.end = now + interval_;
    }
    return due;
}

std::vector<std::pair<Notice, std::size_t>> NoticeThrottle::TakeAll()
{
    std::vector<std::pair<Notice, std::size_t>> held;
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        if (windows_[i].held > 0)
            held.emplace_back(static_cast<Notice>(i), std::exchange(windows_[i].held, 0));
    }
    return held;
}

std::optional<NoticeThrottle::Clock::time_point> NoticeThrottle::NextDue() const
{
    std::optional<Clock::time_point> next;
    for (const Window& window : windows_) {
        if (window.held > 0 && (!next || window.end < *next))
            next = window.end;
    }
    return next;
}

}  // namespace sim::rcon
