#include "faults.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <utility>

#include <fmt/format.h>

#include "peer.h"
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

// What the attack shares: the jobs, the result, and whether it still goes on.
struct Mix {
    explicit Mix(const FaultOptions& options_) : options(options_) {}

    const FaultOptions& options;
    std::vector<Fault> jobs;
    std::atomic<std::size_t> nextJob = 0;
    std::atomic<bool> attacking = true;
    Clock::time_point start;
    Clock::time_point deadline;
    std::mutex mutex;
    FaultResult result;

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
          from_(options_.hostileFrom.empty() ? options_.honestFrom
                                             : options_.hostileFrom[index % options_.hostileFrom.size()]),
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
        auto peer = std::make_unique<Peer>();
        const std::string& from = kind == Fault::WrongPassword ? options_.guesserFrom : from_;
        if (!peer->Connect(options_.host, options_.port, from, kConnectWait))
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
            if (peer->Next(answer, kAnswerWait) != Peer::Got::Closed)
                return mix_.Record(kind, false, "not closed without a word");
            return mix_.Record(kind, true);
        }
        case Fault::BeforeAuth:
            return ClosedUnanswered(kind, *peer, EncodePacket({1, kExecCommand, options_.cheapCommand}));
        case Fault::WrongPassword: return GuessWrong(*peer);
        case Fault::RandomBytes: return RandomBytes(*peer);
        case Fault::CloseMidReply: return CloseMidReply(*peer);
        }
    }

    // Malformed input: the connection must close without a word.
    void ClosedUnanswered(Fault kind, Peer& peer, const std::string& bytes)
    {
        peer.Write(bytes, kAnswerWait);  // may fail: the server can close before all is read
        Packet packet;
        const Peer::Got got = peer.Next(packet, kAnswerWait);
        if (got == Peer::Got::Closed)
            return mix_.Record(kind, true);
        mix_.Record(kind, false, got == Peer::Got::Packet ? "answered instead of closed" : "still open after 5 s");
    }

    void GuessWrong(Peer& peer)
    {
        peer.Send({7, kAuth, "not-" + options_.password}, kAnswerWait);
        Packet answer;
        if (peer.Next(answer, kAnswerWait) != Peer::Got::Packet || answer.id != -1 || answer.type != kAuthResponse)
            return mix_.Record(Fault::WrongPassword, false, "not answered with -1");
        if (!peer.ClosedByServer(kAnswerWait))
            return mix_.Record(Fault::WrongPassword, false, "still open after a wrong password");
        mix_.Record(Fault::WrongPassword, true);
    }

    void RandomBytes(Peer& peer)
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
    void CloseMidReply(Peer& peer)
    {
        if (!peer.Authenticate(options_.password, kAnswerWait))
            return mix_.Record(Fault::CloseMidReply, false, "authentication refused from " + from_);
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
    void Linger(Fault kind, std::unique_ptr<Peer> peer)
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
    std::deque<std::unique_ptr<Peer>> lingering_;
    std::size_t midReplies_ = 0;
};

// The good client: one connection, one request at a time, every reply checked.
class GoodClient {
public:
    GoodClient(const FaultOptions& options) : options_(options) {}

    bool Connect()
    {
        peer_ = std::make_unique<Peer>();
        return peer_->Connect(options_.host, options_.port, options_.honestFrom, kConnectWait) &&
               peer_->Authenticate(options_.password, kAnswerWait);
    }

    // One round trip; false, with the problem noted, when the reply is lost or wrong.
    bool Request(Latencies& latencies, FaultResult& result)
    {
        const auto start = Clock::now();
        ++id_;
        Packet reply;
        Peer::Got got = Peer::Got::Closed;
        if (peer_->Send({id_, kExecCommand, options_.command}, 10s))
            got = peer_->Next(reply, 10s);
        if (got != Peer::Got::Packet) {
            ++result.goodLost;
            Note(result, fmt::format("request {} lost", id_));
            if (!Connect())
                Note(result, "the good client cannot connect again");
            return false;
        }
        if (reply.id != id_ || reply.type != kResponseValue || reply.body != options_.expect) {
            ++result.goodWrong;
            Note(result, fmt::format("request {} answered with id {}: \"{}\"", id_, reply.id, reply.body.substr(0, 200)));
            return false;
        }
        latencies.Add(Clock::now() - start);
        return true;
    }

private:
    static void Note(FaultResult& result, const std::string& what)
    {
        if (result.goodProblem.empty())
            result.goodProblem = what;
    }

    const FaultOptions& options_;
    std::unique_ptr<Peer> peer_;
    std::int32_t id_ = 1;
};

// A new client from the honest address: connect, authenticate, go.
void TryHonest(const FaultOptions& options, FaultResult& result)
{
    const auto start = Clock::now();
    Peer peer;
    const bool in = peer.Connect(options.host, options.port, options.honestFrom, kConnectWait) &&
                    peer.Authenticate(options.password, kAnswerWait);
    const auto took = Clock::now() - start;
    ++result.honestTries;
    if (in) {
        ++result.honestIn;
        result.honest.Add(took);
        if (took <= options.honestWithin)
            ++result.honestInTime;
    } else if (took < kAnswerWait) {
        ++result.honestRefused;  // closed or answered -1, not merely slow
    }
    peer.Close();
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

    GoodClient good(options);
    if (!good.Connect()) {
        result.goodProblem = "the good client cannot connect";
        ++result.goodLost;
        return result;
    }
    for (std::size_t i = 0; i < options.quietRequests; ++i) {
        good.Request(result.quiet, result);
        std::this_thread::sleep_for(options.goodGap);
    }

    // The good and honest clients keep their results to themselves until the attack ends.
    FaultResult goodSide, honestSide;
    const auto start = Clock::now();
    mix.start = start;
    mix.deadline = start + options.timeLimit;
    std::thread goodThread([&] {
        while (mix.attacking) {
            good.Request(goodSide.underAttack, goodSide);
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

    result.underAttack = std::move(goodSide.underAttack);
    result.goodWrong += goodSide.goodWrong;
    result.goodLost += goodSide.goodLost;
    if (result.goodProblem.empty())
        result.goodProblem = goodSide.goodProblem;
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
    const double quietP99 = result.quiet.Percentile(0.99);
    const double attackP99 = result.underAttack.Percentile(0.99);
    out += fmt::format("good client: quiet {} round trips, {}\n", result.quiet.Count(), result.quiet.Summary());
    out += fmt::format("             under attack {} round trips, {}; p99 {:.2f}x quiet; {} wrong, {} lost{}\n",
                       result.underAttack.Count(), result.underAttack.Summary(),
                       quietP99 > 0 ? attackP99 / quietP99 : 0.0, result.goodWrong, result.goodLost,
                       result.goodProblem.empty() ? "" : " (" + result.goodProblem + ")");
    out += fmt::format("honest new clients: {} tries, {} in ({} within {} ms), {} refused; {}\n", result.honestTries,
                       result.honestIn, result.honestInTime, options.honestWithin.count(), result.honestRefused,
                       result.honest.Summary());
    return out;
}

}  // namespace kestrova::tools
