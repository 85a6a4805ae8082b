// Wrong-password lock-outs per client address. Each failure locks the address out
// twice as long as the one before, up to a cap; a right password forgets them.
#pragma once

#include <chrono>
#include <string>
#include <unordered_map>

namespace sim::rcon {

class Lockouts {
public:
    using Clock = std::chrono::steady_clock;

    Lockouts(Clock::duration first, Clock::duration cap);

    // Records a wrong password from `address`; returns how long it is now locked out.
    Clock::duration Fail(const std::string& address, Clock::time_point now);
    void Succeed(const std::string& address);
    bool IsLocked(const std::string& address, Clock::time_point now) const;

private:
    struct Record {
        int failures = 0;
        Clock::time_point lockedUntil;
    };

    void Forget(Clock::time_point now);

    Clock::duration first_;
    Clock::duration cap_;
    std::unordered_map<std::string, Record> records_;
};

}  // namespace sim::rcon
