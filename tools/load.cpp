#include "load.h"

#include <array>
#include <memory>
#include <vector>

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/read.hpp>
#include <asio/steady_timer.hpp>
#include <asio/write.hpp>
#include <fmt/format.h>

#include "rcon/protocol.h"

namespace kestrova::tools {
namespace {

using asio::ip::tcp;
using Clock = std::chrono::steady_clock;
using namespace sim::rcon;

// What the clients of one run share; all of it is used on the one thread.
struct Run {
    Run(const LoadOptions& options_, const std::function<void(std::uint64_t)>& progress_)
        : options(options_), progress(progress_)
    {
    }

    const LoadOptions& options;
    const std::function<void(std::uint64_t)>& progress;
    asio::io_context io{1};
    std::uint64_t started = 0;  // requests handed to clients
    LoadResult result;

    void Problem(const std::string& what)
    {
        if (result.firstProblem.empty())
            result.firstProblem = what;
    }
};

// One client: authenticate, then request, reply, request... Reads one packet at a
// time, header then body, straight into its buffers.
class Client : public std::enable_shared_from_this<Client> {
public:
    explicit Client(Run& run) : run_(run), socket_(run.io), timer_(run.io) {}

    void Start(const tcp::endpoint& server, const std::string& from)
    {
        Expect();
        std::error_code error;
        socket_.open(server.protocol(), error);
        if (!from.empty() && !error)
            socket_.bind({asio::ip::make_address(from, error), 0}, error);
        if (error)
            return Fail("cannot connect from " + from + ": " + error.message(), false);
        socket_.async_connect(server, [self = shared_from_this()](std::error_code connected) {
            if (connected)
                return self->Fail("cannot connect: " + connected.message(), false);
            self->socket_.set_option(tcp::no_delay(true), connected);
            self->Write({1, kAuth, self->run_.options.password});
        });
    }

private:
    void Fail(const std::string& what, bool requestLost)
    {
        if (done_)
            return;
        done_ = true;
        if (requestLost)
            ++run_.result.lost;
        run_.Problem(what);
        timer_.cancel();
        std::error_code ignored;
        socket_.close(ignored);
    }

    // Every wait for the server is bounded: a reply that does not come in time is lost.
    void Expect()
    {
        timer_.expires_after(run_.options.replyTimeout);
        timer_.async_wait([self = shared_from_this()](std::error_code error) {
            if (!error)
                self->Fail("no reply within " + std::to_string(self->run_.options.replyTimeout.count()) + " ms",
                           self->authenticated_);
        });
    }

    void Write(const Packet& packet)
    {
        out_ = EncodePacket(packet);
        sentAt_ = Clock::now();
        asio::async_write(socket_, asio::buffer(out_), [self = shared_from_this()](std::error_code error, std::size_t) {
            if (error)
                return self->Fail("cannot send: " + error.message(), self->authenticated_);
            self->ReadHeader();
        });
    }

    void ReadHeader()
    {
        asio::async_read(socket_, asio::buffer(header_), [self = shared_from_this()](std::error_code error, std::size_t) {
            if (error)
                return self->Fail("connection closed: " + error.message(), self->authenticated_);
            const std::int32_t size = ReadInt32(self->header_.data());
            if (size < kMinPacketSize || size > kMaxPacketSize)
                return self->Fail("malformed reply", self->authenticated_);
            self->body_.resize(static_cast<std::size_t>(size));
            self->ReadBody();
        });
    }

    void ReadBody()
    {
        asio::async_read(socket_, asio::buffer(body_), [self = shared_from_this()](std::error_code error, std::size_t) {
            if (error)
                return self->Fail("connection closed: " + error.message(), self->authenticated_);
            std::deque<Packet> packets;
            PacketDecoder decoder;
            std::string frame(reinterpret_cast<const char*>(self->header_.data()), self->header_.size());
            frame += self->body_;
            decoder.Feed(frame, packets);
            self->Received(packets.front());
        });
    }

    void Received(const Packet& packet)
    {
        if (done_)
            return;
        const auto now = Clock::now();
        if (!authenticated_) {
            if (packet.id != 1 || packet.type != kAuthResponse)
                return Fail("authentication refused", false);
            authenticated_ = true;
            ++run_.result.clientsIn;
            return Next();
        }
        if (packet.id != id_ || packet.type != kResponseValue || packet.body != run_.options.expect) {
            ++run_.result.wrong;
            run_.Problem(fmt::format("request {} answered with id {}, type {}: \"{}\"", id_, packet.id, packet.type,
                                     packet.body.substr(0, 200)));
        } else {
            ++run_.result.answered;
            run_.result.latencies.Add(now - sentAt_);
            if (run_.progress && run_.result.answered % 1000 == 0)
                run_.progress(run_.result.answered);
        }
        Next();
    }

    void Next()
    {
        if (run_.started >= run_.options.requests) {
            done_ = true;
            timer_.cancel();
            std::error_code ignored;
            socket_.shutdown(tcp::socket::shutdown_both, ignored);
            socket_.close(ignored);
            return;
        }
        ++run_.started;
        ++id_;
        Expect();
        Write({id_, kExecCommand, run_.options.command});
    }

    Run& run_;
    tcp::socket socket_;
    asio::steady_timer timer_;
    std::string out_;
    std::array<unsigned char, 4> header_{};
    std::string body_;
    Clock::time_point sentAt_;
    std::int32_t id_ = 1;
    bool authenticated_ = false;
    bool done_ = false;
};

}  // namespace

LoadResult RunLoad(const LoadOptions& options, const std::function<void(std::uint64_t)>& progress)
{
    Run run(options, progress);
    std::error_code error;
    const tcp::endpoint server(asio::ip::make_address(options.host, error), options.port);
    if (error) {
        run.result.firstProblem = "\"" + options.host + "\" is not an IP address";
        return run.result;
    }
    const auto start = Clock::now();
    for (std::size_t i = 0; i < options.clients; ++i) {
        std::string from;
        if (!options.from.empty())
            from = options.from[i % options.from.size()];
        else if (server.address().is_loopback() && server.address().is_v4())
            from = "127.0.0." + std::to_string(1 + i / 4);
        std::make_shared<Client>(run)->Start(server, from);
    }
    run.io.run_for(options.timeLimit);
    if (!run.io.stopped()) {
        run.Problem("the time limit ran out");
        run.io.stop();
    }
    run.result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // Requests never sent because clients failed count as lost too.
    if (run.result.answered + run.result.wrong + run.result.lost < options.requests)
        run.result.lost = options.requests - run.result.answered - run.result.wrong;
    return run.result;
}

std::string Describe(const LoadResult& result)
{
    return fmt::format("{} answered in {:.2f} s: {:.0f} requests/s; {}; {} wrong, {} lost", result.answered,
                       result.seconds, result.RequestsPerSecond(), result.latencies.Summary(), result.wrong,
                       result.lost);
}

}  // namespace kestrova::tools
