#include "rcon/lockouts.h"

#include <algorithm>

namespace sim::rcon {
namespace {

// Beyond this many remembered addresses, those not locked out are dropped first, so
// that a flood from many addresses cannot grow the table without end.
constexpr std::size_t kMaxTracked = 100'000;

}  // namespace

Lockouts::Lockouts(Policy policy) : policy_(policy)
{
    policy_.failures = std::max<std::size_t>(policy_.failures, 1);
    policy_.cap = std::max(policy_.first, policy_.cap);
}

Lockouts::Clock::duration Lockouts::Fail(const std::string& address, Clock::time_point now)
{
    Forget(now);
    Record& record = records_[address];
    // The run goes on while failures keep coming within a window of the last lock-out's end.
    if (record.locks > 0 && now < record.lockedUntil + policy_.window) {
        ++record.locks;
        return Lock(record, now);
    }
    record.locks = 0;
    while (!record.recent.empty() && record.recent.front() + policy_.window <= now)
        record.recent.pop_front();
    record.recent.push_back(now);
    if (record.recent.size() < policy_.failures)
        return Clock::duration::zero();
    record.recent.clear();
    record.locks = 1;
    return Lock(record, now);
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

Lockouts::Clock::duration Lockouts::Lock(Record& record, Clock::time_point now) const
{
    Clock::duration lock = policy_.first;
    for (int i = 1; i < record.locks && lock < policy_.cap; ++i)
        lock *= 2;
    lock = std::min(lock, policy_.cap);
    record.lockedUntil = now + lock;
    return lock;
}

// Nothing left to count and no run going on.
bool Lockouts::Stale(const Record& record, Clock::time_point now) const
{
    const bool counting = !record.recent.empty() && record.recent.back() + policy_.window > now;
    const bool running = record.locks > 0 && now < record.lockedUntil + policy_.window;
    return !counting && !running;
}

// At most once a window, unless the table is overfull: a sweep costs the whole table.
void Lockouts::Forget(Clock::time_point now)
{
    if (now < nextForget_ && records_.size() < kMaxTracked)
        return;
    nextForget_ = now + policy_.window;
    std::erase_if(records_, [&](const auto& entry) { return Stale(entry.second, now); });
    if (records_.size() >= kMaxTracked)
        std::erase_if(records_, [&](const auto& entry) { return now >= entry.second.lockedUntil; });
}

}  // namespace sim::rcon
