#include "client/rcon_client.h"

#include <array>

#include <asio/write.hpp>

namespace kestrova::tools {

using asio::ip::tcp;
using namespace sim::rcon;

// Starts one asynchronous operation with a handler that sets `done`, and runs it
// until it is done or `wait` runs out; then it is cancelled and run to its end.
template <typename Start>
bool RconClient::Run(Start start, Clock::duration wait)
{
    bool done = false;
    start(done);
    io_->restart();
    io_->run_for(wait);
    if (!done) {
        std::error_code ignored;
        socket_.cancel(ignored);
        io_->restart();
        io_->run();
    }
    return done;
}

bool RconClient::Connect(const std::string& host, std::uint16_t port, const std::string& from, Clock::duration wait)
{
    std::error_code error;
    const auto address = asio::ip::make_address(host, error);
    if (error)
        return false;
    socket_.open(address.is_v4() ? tcp::v4() : tcp::v6(), error);
    if (!from.empty() && !error)
        socket_.bind({asio::ip::make_address(from, error), 0}, error);
    if (error)
        return false;
    std::error_code connected = asio::error::timed_out;
    Run(
        [&](bool& done) {
            socket_.async_connect({address, port}, [&](std::error_code e) {
                connected = e;
                done = true;
            });
        },
        wait);
    if (connected)
        return false;
    socket_.set_option(tcp::no_delay(true), error);
    return true;
}

bool RconClient::Write(std::string_view bytes, Clock::duration wait)
{
    std::error_code written = asio::error::timed_out;
    Run(
        [&](bool& done) {
            asio::async_write(socket_, asio::buffer(bytes.data(), bytes.size()), [&](std::error_code e, std::size_t) {
                written = e;
                done = true;
            });
        },
        wait);
    return !written;
}

// Reads until a packet is whole, the server closes, or the wait runs out.
RconClient::Got RconClient::Fill(Clock::duration wait)
{
    const auto deadline = Clock::now() + wait;
    while (received_.empty()) {
        if (malformed_)
            return Got::Malformed;
        if (closed_)
            return Got::Closed;
        std::array<char, 8192> buffer;
        std::error_code error = asio::error::timed_out;
        std::size_t length = 0;
        const bool done = Run(
            [&](bool& finished) {
                socket_.async_read_some(asio::buffer(buffer), [&](std::error_code e, std::size_t n) {
                    error = e;
                    length = n;
                    finished = true;
                });
            },
            deadline - Clock::now());
        if (!done || error == asio::error::operation_aborted)
            return Got::Nothing;
        if (error) {
            closed_ = true;
            continue;
        }
        if (!decoder_.Feed({buffer.data(), length}, received_))
            malformed_ = true;
    }
    return Got::Packet;
}

RconClient::Got RconClient::Next(Packet& packet, Clock::duration wait)
{
    const Got got = Fill(wait);
    if (got == Got::Packet) {
        packet = std::move(received_.front());
        received_.pop_front();
    }
    return got;
}

std::optional<Packet> RconClient::Next(Clock::duration wait)
{
    Packet packet;
    if (Next(packet, wait) != Got::Packet)
        return std::nullopt;
    return packet;
}

bool RconClient::Authenticate(const std::string& password, std::int32_t id, Clock::duration wait)
{
    const auto deadline = Clock::now() + wait;
    return Send({id, kAuth, password}, wait) && Next(deadline - Clock::now()) == Packet{id, kAuthResponse, ""};
}

std::optional<std::string> RconClient::Command(const std::string& body, std::int32_t id, Clock::duration wait)
{
    const auto deadline = Clock::now() + wait;
    if (!Send({id, kExecCommand, body}, wait))
        return std::nullopt;
    const std::optional<Packet> reply = Next(deadline - Clock::now());
    if (!reply || reply->id != id || reply->type != kResponseValue)
        return std::nullopt;
    return reply->body;
}

std::size_t RconClient::ReadRaw(std::size_t limit, Clock::duration wait)
{
    std::string buffer(limit, '\0');
    std::size_t length = 0;
    Run(
        [&](bool& done) {
            socket_.async_read_some(asio::buffer(buffer), [&](std::error_code e, std::size_t n) {
                length = e ? 0 : n;
                done = true;
            });
        },
        wait);
    return length;
}

bool RconClient::ClosedByServer(Clock::duration wait)
{
    return Fill(wait) == Got::Closed;
}

bool RconClient::ServerHasClosed()
{
    if (closed_)
        return true;
    std::error_code error;
    socket_.non_blocking(true, error);
    std::array<char, 512> buffer;
    for (;;) {
        socket_.read_some(asio::buffer(buffer), error);
        if (error == asio::error::would_block || error == asio::error::try_again)
            break;
        if (error) {
            closed_ = true;
            break;
        }
    }
    socket_.non_blocking(false, error);
    return closed_;
}

void RconClient::EndSending()
{
    std::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_send, ignored);
}

void RconClient::Abort()
{
    std::error_code ignored;
    socket_.set_option(asio::socket_base::linger(true, 0), ignored);
    socket_.close(ignored);
}

void RconClient::Close()
{
    std::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
}

}  // namespace kestrova::tools
