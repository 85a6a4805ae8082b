#include "faults.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <utility>

#include <fmt/format.h>

#include "client/rcon_client.h"
#include "honest.h"
#include "rcon/protocol.h"

namespace kestrova::tools {
namespace {

using namespace std::chrono_literals;
using namespace sim::rcon;

// Bounds on waiting for the server; a server that needs longer has failed already.
constexpr auto kConnectWait = 5s;
constexpr auto kAnswerWait = 5s;

std::string SizeField(std::int64_t size)
{
    const auto bits = static_cast<std::uint32_t>(size);
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
    return out;
}

// Where hostile connections come from: the honest address when no other is given.
std::vector<std::string> HostileFrom(const FaultOptions& options)
{
    return options.hostileFrom.empty() ? std::vector<std::string>{options.honestFrom} : options.hostileFrom;
}

// The addresses that authenticated hostile connections come from, each lent to one
// connection at a time. The server lets an address hold only a few connections and
// never closes an authenticated one to make room, so more of these at once than
// there are addresses would rightly be refused.
class AddressPool {
public:
    explicit AddressPool(const std::vector<std::string>& addresses) : free_(addresses.begin(), addresses.end()) {}

    std::string Take()
    {
        std::unique_lock lock(mutex_);
        returned_.wait(lock, [&] { return !free_.empty(); });
        std::string address = std::move(free_.front());
        free_.pop_front();
        return address;
    }

    void GiveBack(std::string address)
    {
        {
            std::lock_guard lock(mutex_);
            free_.push_back(std::move(address));
        }
        returned_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable returned_;
    std::deque<std::string> free_;
};

// What the attack shares: the jobs, the result, and whether it still goes on.
struct Mix {
    explicit Mix(const FaultOptions& options_)
        : options(options_), authenticatedFrom(HostileFrom(options_))
    {
    }

    const FaultOptions& options;
    std::vector<Fault> jobs;
    std::atomic<std::size_t> nextJob = 0;
    std::atomic<bool> attacking = true;
    Clock::time_point start;
    Clock::time_point deadline;
    std::mutex mutex;
    FaultResult result;
    AddressPool authenticatedFrom;

    void Record(Fault kind, bool asExpected, const std::string& what = {})
    {
        std::lock_guard lock(mutex);
        FaultOutcome& outcome = result.kinds[static_cast<std::size_t>(kind)];
        ++outcome.runs;
        if (!asExpected && outcome.unexpected++ == 0)
            outcome.firstUnexpected = what;
    }
};

class Worker {
public:
    Worker(Mix& mix, std::size_t index)
        : mix_(mix),
          options_(mix.options),
          from_([&] {
              const std::vector<std::string> all = HostileFrom(options_);
              return all[index % all.size()];
          }()),
          random_(static_cast<std::uint32_t>(index + 1))
    {
    }

    void Run()
    {
        for (;;) {
            const std::size_t job = mix_.nextJob++;
            if (job >= mix_.jobs.size())
                break;
            // A signed count: libc++'s sleep_until subtracts the time now, which for a
            // time already past and an unsigned duration wraps to a wait of centuries.
            if (options_.rate > 0)
                std::this_thread::sleep_until(mix_.start + static_cast<std::int64_t>(job) *
                                                               std::chrono::microseconds(1'000'000 / options_.rate));
            if (Clock::now() > mix_.deadline) {
                std::lock_guard lock(mix_.mutex);
                mix_.result.timedOut = true;
                break;
            }
            Do(mix_.jobs[job]);
        }
        while (!lingering_.empty())
            DropOldest();
    }

private:
    void Do(Fault kind)
    {
        if (kind == Fault::CloseMidReply) {
            std::string from = mix_.authenticatedFrom.Take();
            Do(kind, from);
            mix_.authenticatedFrom.GiveBack(std::move(from));
        } else {
            Do(kind, kind == Fault::WrongPassword ? options_.guesserFrom : from_);
        }
    }

    void Do(Fault kind, const std::string& from)
    {
        auto peer = std::make_unique<RconClient>();
        if (!peer->Connect(options_.server.host, options_.server.port, from, kConnectWait))
            return mix_.Record(kind, false, "could not connect from " + from);
        switch (kind) {
        case Fault::Silent:
            return Linger(kind, std::move(peer));
        case Fault::PartialHeader:
            peer->Write(SizeField(14).substr(0, 2), kAnswerWait);
            return Linger(kind, std::move(peer));
        case Fault::SizeMinusOne: return ClosedUnanswered(kind, *peer, SizeField(-1) + std::string(16, 'x'));
        case Fault::SizeZero: return ClosedUnanswered(kind, *peer, SizeField(0) + std::string(16, 'x'));
        case Fault::SizeNine: return ClosedUnanswered(kind, *peer, SizeField(9) + std::string(16, 'x'));
        case Fault::Size4097: return ClosedUnanswered(kind, *peer, SizeField(4097) + std::string(16, 'x'));
        case Fault::SizeMax: return ClosedUnanswered(kind, *peer, SizeField(0x7FFFFFFF) + std::string(16, 'x'));
        case Fault::TruncatedBody: {
            const std::string packet = EncodePacket({1, kAuth, std::string(90, 'p')});
            peer->Write(std::string_view(packet).substr(0, packet.size() / 2), kAnswerWait);
            peer->EndSending();  // the stream ends mid-packet
            Packet answer;
            if (peer->Next(answer, kAnswerWait) != RconClient::Got::Closed)
                return mix_.Record(kind, false, "not closed without a word");
            return mix_.Record(kind, true);
        }
        case Fault::BeforeAuth:
            return ClosedUnanswered(kind, *peer, EncodePacket({1, kExecCommand, options_.cheapCommand}));
        case Fault::WrongPassword: return GuessWrong(*peer);
        case Fault::RandomBytes: return RandomBytes(*peer);
        case Fault::CloseMidReply: return CloseMidReply(*peer, from);
        }
    }

    // Malformed input: the connection must close without a word.
    void ClosedUnanswered(Fault kind, RconClient& peer, const std::string& bytes)
    {
        peer.Write(bytes, kAnswerWait);  // may fail: the server can close before all is read
        Packet packet;
        const RconClient::Got got = peer.Next(packet, kAnswerWait);
        if (got == RconClient::Got::Closed)
            return mix_.Record(kind, true);
        mix_.Record(kind, false, got == RconClient::Got::Packet ? "answered instead of closed" : "still open after 5 s");
    }

    void GuessWrong(RconClient& peer)
    {
        peer.Send({7, kAuth, "not-" + options_.server.password}, kAnswerWait);
        Packet answer;
        if (peer.Next(answer, kAnswerWait) != RconClient::Got::Packet || answer.id != -1 || answer.type != kAuthResponse)
            return mix_.Record(Fault::WrongPassword, false, "not answered with -1");
        if (!peer.ClosedByServer(kAnswerWait))
            return mix_.Record(Fault::WrongPassword, false, "still open after a wrong password");
        mix_.Record(Fault::WrongPassword, true);
    }

    void RandomBytes(RconClient& peer)
    {
        std::string bytes(16 * 1024, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random_() & 0xFF);
        peer.Write(bytes, kAnswerWait);
        // Whatever the bytes happened to say, the connection ends.
        if (!peer.ClosedByServer(kAnswerWait))
            return mix_.Record(Fault::RandomBytes, false, "still open after 5 s");
        mix_.Record(Fault::RandomBytes, true);
    }

    // Alternately gone before any of the reply came, and after part of it.
    void CloseMidReply(RconClient& peer, const std::string& from)
    {
        if (!peer.Authenticate(options_.server.password, 1, kAnswerWait))
            return mix_.Record(Fault::CloseMidReply, false, "authentication refused from " + from);
        peer.Send({2, kExecCommand, options_.cheapCommand}, kAnswerWait);
        if (++midReplies_ % 2 == 0) {
            peer.ReadRaw(6, kAnswerWait);
            peer.Close();
        } else {
            peer.Abort();
        }
        mix_.Record(Fault::CloseMidReply, true);
    }

    // Silent ones stay open until the server closes them or the worker has too many.
    void Linger(Fault kind, std::unique_ptr<RconClient> peer)
    {
        lingering_.push_back(std::move(peer));
        if (lingering_.size() > options_.lingering)
            DropOldest();
        mix_.Record(kind, true);
    }

    void DropOldest()
    {
        if (lingering_.front()->ServerHasClosed()) {
            std::lock_guard lock(mix_.mutex);
            ++mix_.result.evicted;
        }
        lingering_.front()->Close();
        lingering_.pop_front();
    }

    Mix& mix_;
    const FaultOptions& options_;
    std::string from_;
    std::mt19937 random_;
    std::deque<std::unique_ptr<RconClient>> lingering_;
    std::size_t midReplies_ = 0;
};

// A new client from the honest address: connect, authenticate, go.
void TryHonest(const FaultOptions& options, FaultResult& result)
{
    const Login login = LogIn(options.server, options.honestFrom, 1);
    ++result.honestTries;
    if (login.in) {
        ++result.honestIn;
        result.honest.Add(login.took);
        if (login.took <= options.honestWithin)
            ++result.honestInTime;
    } else if (login.refused) {
        ++result.honestRefused;
    }
}

}  // namespace

const char* Name(Fault kind)
{
    switch (kind) {
    case Fault::Silent: return "silent";
    case Fault::PartialHeader: return "partial header";
    case Fault::SizeMinusOne: return "size -1";
    case Fault::SizeZero: return "size 0";
    case Fault::SizeNine: return "size 9";
    case Fault::Size4097: return "size 4097";
    case Fault::SizeMax: return "size 2^31-1";
    case Fault::TruncatedBody: return "truncated body";
    case Fault::BeforeAuth: return "command before auth";
    case Fault::WrongPassword: return "wrong passwords";
    case Fault::RandomBytes: return "random bytes";
    case Fault::CloseMidReply: return "close mid-reply";
    }
    return "?";
}

std::vector<Fault> AllFaults()
{
    std::vector<Fault> all;
    for (std::size_t i = 0; i < kFaultKinds; ++i)
        all.push_back(static_cast<Fault>(i));
    return all;
}

std::size_t FaultResult::Unexpected() const
{
    std::size_t total = 0;
    for (const FaultOutcome& outcome : kinds)
        total += outcome.unexpected;
    return total;
}

FaultResult RunFaultMix(const FaultOptions& options)
{
    Mix mix(options);
    for (const Fault kind : options.kinds)
        mix.jobs.insert(mix.jobs.end(), options.perKind, kind);
    std::shuffle(mix.jobs.begin(), mix.jobs.end(), std::mt19937(2024));
    FaultResult& result = mix.result;

    GoodClient good(options.server, options.honestFrom, options.command, options.expect);
    if (!good.MeasureQuiet(result.quiet, options.quietRequests, options.goodGap))
        return result;

    // The good and honest clients keep their results to themselves until the attack ends.
    GoodRequests underAttack;
    FaultResult honestSide;
    const auto start = Clock::now();
    mix.start = start;
    mix.deadline = start + options.timeLimit;
    std::thread goodThread([&] {
        while (mix.attacking) {
            good.Request(underAttack);
            std::this_thread::sleep_for(options.goodGap);
        }
    });
    std::thread honestThread([&] {
        while (mix.attacking) {
            TryHonest(options, honestSide);
            std::this_thread::sleep_for(options.honestGap);
        }
    });
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < std::max<std::size_t>(options.workers, 1); ++i)
        workers.emplace_back([&mix, i] { Worker(mix, i).Run(); });
    for (std::thread& worker : workers)
        worker.join();
    mix.attacking = false;
    goodThread.join();
    honestThread.join();
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();

    result.underAttack = std::move(underAttack);
    result.honestTries = honestSide.honestTries;
    result.honestIn = honestSide.honestIn;
    result.honestInTime = honestSide.honestInTime;
    result.honestRefused = honestSide.honestRefused;
    result.honest = std::move(honestSide.honest);
    return result;
}

std::string Describe(const FaultResult& result, const FaultOptions& options)
{
    std::string out = fmt::format("fault mix: {} hostile connections in {:.1f} s ({} workers, {}){}\n",
                                  options.kinds.size() * options.perKind, result.seconds, options.workers,
                                  options.rate ? fmt::format("at most {} a second", options.rate) : "unpaced",
                                  result.timedOut ? ", CUT SHORT by the time limit" : "");
    for (const Fault kind : options.kinds) {
        const FaultOutcome& outcome = result.kinds[static_cast<std::size_t>(kind)];
        out += fmt::format("  {:<20} {:>6} runs, {} unexpected{}\n", Name(kind), outcome.runs, outcome.unexpected,
                           outcome.unexpected ? " (first: " + outcome.firstUnexpected + ")" : "");
    }
    out += fmt::format("  silent ones closed by the server to make room: {}\n", result.evicted);
    out += DescribeGood(result.quiet, result.underAttack, "under attack");
    out += fmt::format("honest new clients: {} tries, {} in ({} within {} ms), {} refused; {}\n", result.honestTries,
                       result.honestIn, result.honestInTime, options.honestWithin.count(), result.honestRefused,
                       result.honest.Summary());
    return out;
}

}  // namespace kestrova::tools
