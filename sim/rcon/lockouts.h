// Wrong-password lock-outs per client address. A few mistakes are forgiven: only a
// run of them within a short window locks the address out, and every further
// failure while the run goes on locks it out twice as long as the last time, up to
// a cap. A right password before the lock-out clears the count.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>

namespace sim::rcon {

class Lockouts {
public:
    using Clock = std::chrono::steady_clock;

    struct Policy {
        std::size_t failures = 5;  // wrong passwords within `window` that lock an address out
        Clock::duration window = std::chrono::seconds(60);
        Clock::duration first = std::chrono::seconds(1);
        Clock::duration cap = std::chrono::minutes(5);
    };

    explicit Lockouts(Policy policy);

    // Records a wrong password from `address`; how long it is now locked out, zero
    // when it is not. Not meant for an address that is locked out: its attempts are
    // refused unheard.
    Clock::duration Fail(const std::string& address, Clock::time_point now);
    void Succeed(const std::string& address);
    bool IsLocked(const std::string& address, Clock::time_point now) const;

    // Addresses remembered, for tests: records of quiet addresses go in time.
    std::size_t Tracked() const { return records_.size(); }

private:
    struct Record {
        std::deque<Clock::time_point> recent;  // failures within the window, oldest first
        int locks = 0;                         // lock-outs in the current run
        Clock::time_point lockedUntil{};
    };

    Clock::duration Lock(Record& record, Clock::time_point now) const;
    bool Stale(const Record& record, Clock::time_point now) const;
    void Forget(Clock::time_point now);

    Policy policy_;
    std::unordered_map<std::string, Record> records_;
    Clock::time_point nextForget_{};
};

}  // namespace sim::rcon
