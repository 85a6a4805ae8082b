#include "churn.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <asio/write.hpp>
#include <fmt/format.h>

#include "honest.h"

namespace kestrova::tools {
namespace {

using asio::ip::tcp;
using namespace std::chrono_literals;

// The n-th (from 0) of a run of loopback addresses, 127.0.`block`.1 onwards.
std::string LoopbackAddress(unsigned block, std::size_t n)
{
    return fmt::format("127.0.{}.{}", block + n / 250, 1 + n % 250);
}

// One churning connection: connect, say its part, wait to be closed, and at once again.
class Churner : public std::enable_shared_from_this<Churner> {
public:
    Churner(asio::io_context& io, tcp::endpoint server, asio::ip::address from, Churn kind,
            std::atomic<std::uint64_t>& connects)
        : socket_(io), retry_(io), server_(server), from_(from), kind_(kind), connects_(connects)
    {
    }

    void Start()
    {
        if (stopped_)
            return;
        std::error_code error;
        socket_.open(server_.protocol(), error);
        if (!error)
            socket_.bind({from_, 0}, error);
        if (error)
            return Again();
        socket_.async_connect(server_, [self = shared_from_this()](std::error_code connected) {
            if (connected)
                return self->Again();
            ++self->connects_;
            if (self->kind_ == Churn::PartialHeader) {
                static constexpr char kPartialSize[] = {14, 0};
                asio::async_write(self->socket_, asio::buffer(kPartialSize),
                                  [self](std::error_code, std::size_t) { self->WaitForClose(); });
            } else {
                self->WaitForClose();
            }
        });
    }

    void Stop()
    {
        stopped_ = true;
        retry_.cancel();
        std::error_code ignored;
        socket_.close(ignored);
    }

private:
    void WaitForClose()
    {
        socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](std::error_code error, std::size_t) {
            if (!error)
                return self->WaitForClose();  // the server says nothing to these; read on
            self->Reconnect();
        });
    }

    void Reconnect()
    {
        std::error_code ignored;
        socket_.close(ignored);
        Start();
    }

    // Cannot connect just now (out of ports, the backlog full): shortly, not in a spin.
    void Again()
    {
        std::error_code ignored;
        socket_.close(ignored);
        if (stopped_)
            return;
        retry_.expires_after(1ms);
        retry_.async_wait([self = shared_from_this()](std::error_code error) {
            if (!error)
                self->Start();
        });
    }

    tcp::socket socket_;
    asio::steady_timer retry_;
    tcp::endpoint server_;
    asio::ip::address from_;
    Churn kind_;
    std::atomic<std::uint64_t>& connects_;
    std::array<char, 64> buffer_;
    bool stopped_ = false;
};

// The churning connections of one phase, on a thread of their own.
class Flood {
public:
    Flood(const ChurnOptions& options, Churn kind)
    {
        const tcp::endpoint server(asio::ip::make_address(options.server.host), options.server.port);
        for (std::size_t i = 0; i < options.connections; ++i) {
            const auto from = asio::ip::make_address(LoopbackAddress(1, i % std::max<std::size_t>(options.addresses, 1)));
            churners_.push_back(std::make_shared<Churner>(io_, server, from, kind, connects_));
        }
        for (auto& churner : churners_)
            churner->Start();
        thread_ = std::thread([this] { io_.run(); });
    }

    ~Flood()
    {
        asio::post(io_, [this] {
            for (auto& churner : churners_)
                churner->Stop();
        });
        thread_.join();  // ends when the last churner has stopped
    }

    std::uint64_t Connects() const { return connects_; }

private:
    asio::io_context io_{1};
    std::atomic<std::uint64_t> connects_ = 0;
    std::vector<std::shared_ptr<Churner>> churners_;
    std::thread thread_;
};

void Count(const Login& login, const ChurnOptions& options, ChurnPhase& phase)
{
    phase.mostTries = std::max(phase.mostTries, login.tries);
    if (!login.in) {
        ++phase.honestShutOut;
        return;
    }
    phase.honest.Add(login.took);
    if (login.tries > 1)
        ++phase.honestRetried;
    if (login.took <= options.honestWithin)
        ++phase.honestIn;
}

// After the ramp-up, one every `honestEvery`, on a few threads.
void LogInHonestClients(const ChurnOptions& options, Clock::time_point deadline, ChurnPhase& phase)
{
    const auto first = Clock::now() + options.rampUp;
    std::atomic<std::size_t> next = 0;
    std::mutex mutex;
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < std::max<std::size_t>(options.honestAtOnce, 1); ++t) {
        threads.emplace_back([&] {
            for (std::size_t i = next++; i < options.honest; i = next++) {
                // A signed count: an unsigned one makes the time point unsigned, and a
                // moment already past then reads as one far ahead (libc++ sleeps until it).
                std::this_thread::sleep_until(first + static_cast<long long>(i) * options.honestEvery);
                if (Clock::now() > deadline) {
                    std::lock_guard lock(mutex);
                    phase.timedOut = true;
                    return;
                }
                const Login login = LogIn(options.server, LoopbackAddress(2, i), options.honestTries);
                std::lock_guard lock(mutex);
                Count(login, options, phase);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
}

ChurnPhase RunPhase(const ChurnOptions& options, Churn kind, GoodClient& good, Clock::time_point deadline)
{
    ChurnPhase phase;
    phase.kind = kind;
    const auto start = Clock::now();
    std::atomic<bool> going = true;
    GoodRequests underChurn;
    std::thread goodThread([&] {
        while (going) {
            good.Request(underChurn);
            std::this_thread::sleep_for(options.goodGap);
        }
    });
    {
        Flood flood(options, kind);
        LogInHonestClients(options, deadline, phase);
        phase.connects = flood.Connects();
        phase.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    going = false;
    goodThread.join();
    phase.good = std::move(underChurn);
    return phase;
}

}  // namespace

const char* Name(Churn kind)
{
    switch (kind) {
    case Churn::Silent: return "silent";
    case Churn::PartialHeader: return "partial header";
    }
    return "?";
}

ChurnResult RunChurn(const ChurnOptions& options)
{
    ChurnResult result;
    GoodClient good(options.server, "127.0.0.1", options.command, options.expect);
    if (!good.MeasureQuiet(result.quiet, options.quietRequests, options.goodGap))
        return result;
    const auto deadline = Clock::now() + options.timeLimit;
    for (const Churn kind : options.kinds)
        result.phases.push_back(RunPhase(options, kind, good, deadline));
    return result;
}

std::string Describe(const ChurnResult& result, const ChurnOptions& options)
{
    std::string out;
    for (const ChurnPhase& phase : result.phases) {
        out += fmt::format("churn: {} {} connections from {} addresses, {:.0f} connects a second for {:.1f} s{}\n",
                           options.connections, Name(phase.kind), options.addresses, phase.ConnectsPerSecond(),
                           phase.seconds, phase.timedOut ? ", CUT SHORT by the time limit" : "");
        out += fmt::format("  honest new clients: {} of {} in within {} ms ({} at a later try, at most {} tries), "
                           "{} shut out; {}\n",
                           phase.honestIn, options.honest, options.honestWithin.count(), phase.honestRetried,
                           phase.mostTries, phase.honestShutOut, phase.honest.Summary());
        out += DescribeGood(result.quiet, phase.good, "under churn");
    }
    return out;
}

}  // namespace kestrova::tools
