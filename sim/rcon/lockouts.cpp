#include "rcon/lockouts.h"

#include <algorithm>

namespace sim::rcon {

Lockouts::Lockouts(Clock::duration first, Clock::duration cap)
    : first_(first), cap_(std::max(first, cap))
{
}

Lockouts::Clock::duration Lockouts::Fail(const std::string& address, Clock::time_point now)
{
    Forget(now);
    Record& record = records_[address];
    ++record.failures;
    Clock::duration lock = first_;
    for (int i = 1; i < record.failures && lock < cap_; ++i)
        lock *= 2;
    lock = std::min(lock, cap_);
    record.lockedUntil = now + lock;
    return lock;
}

void Lockouts::Succeed(const std::string& address)
{
    records_.erase(address);
}

bool Lockouts::IsLocked(const std::string& address, Clock::time_point now) const
{
    const auto found = records_.find(address);
    return found != records_.end() && now < found->second.lockedUntil;
}

// An address that has kept quiet for a whole cap after its lock-out ended starts afresh;
// this also keeps the table small.
void Lockouts::Forget(Clock::time_point now)
{
    std::erase_if(records_, [&](const auto& entry) { return entry.second.lockedUntil + cap_ <= now; });
}

}  // namespace sim::rcon
