#include "support/rcon_client.h"

#include <array>

#include <asio/write.hpp>

namespace kestrova::test {

using namespace sim::rcon;

RconClient::RconClient(std::uint16_t port, const std::string& address, const std::string& from)
{
    if (!from.empty()) {
        socket_.open(asio::ip::tcp::v4());
        socket_.bind({asio::ip::make_address(from), 0});
    }
    socket_.connect({asio::ip::make_address(address), port});
    socket_.set_option(asio::ip::tcp::no_delay(true));
}

void RconClient::SendBytes(std::string_view bytes)
{
    std::error_code ignored;  // the server may have closed already; reading tells
    asio::write(socket_, asio::buffer(bytes.data(), bytes.size()), ignored);
}

std::optional<Packet> RconClient::Next(std::chrono::milliseconds wait)
{
    Receive(wait);
    if (received_.empty())
        return std::nullopt;
    Packet packet = std::move(received_.front());
    received_.pop_front();
    return packet;
}

bool RconClient::ClosedByServer(std::chrono::milliseconds wait)
{
    Receive(wait);
    return received_.empty() && closed_ && !malformed_;
}

bool RconClient::Authenticate(const std::string& password, std::int32_t id)
{
    Send({id, kAuth, password});
    return Next() == Packet{id, kAuthResponse, ""};
}

std::optional<std::string> RconClient::Command(const std::string& body, std::int32_t id)
{
    Send({id, kExecCommand, body});
    const std::optional<Packet> reply = Next();
    if (!reply || reply->id != id || reply->type != kResponseValue)
        return std::nullopt;
    return reply->body;
}

// Reads until a packet is whole, the server closes, or the wait runs out.
void RconClient::Receive(std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (received_.empty() && !closed_) {
        std::array<char, 8192> buffer;
        std::error_code error = asio::error::would_block;
        std::size_t length = 0;
        socket_.async_read_some(asio::buffer(buffer), [&](std::error_code e, std::size_t n) {
            error = e;
            length = n;
        });
        io_->restart();
        const bool inTime = io_->run_until(deadline) != 0;
        if (!inTime) {
            socket_.cancel();
            io_->restart();
            io_->run();
        }
        if (error == asio::error::operation_aborted)
            return;  // nothing in time
        if (error) {
            closed_ = true;
            return;
        }
        if (!decoder_.Feed({buffer.data(), length}, received_)) {
            malformed_ = closed_ = true;
            return;
        }
    }
}

}  // namespace kestrova::test
