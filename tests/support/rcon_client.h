// A bare RCON client over TCP for tests: sends exactly the bytes it is given and
// shows exactly the packets that come back. Every read is bounded.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>

#include "rcon/protocol.h"

namespace kestrova::test {

class RconClient {
public:
    // `from`, when given, is the local address to connect from (another loopback
    // address stands for another machine).
    explicit RconClient(std::uint16_t port, const std::string& address = "127.0.0.1", const std::string& from = {});

    void SendBytes(std::string_view bytes);
    void Send(const sim::rcon::Packet& packet) { SendBytes(sim::rcon::EncodePacket(packet)); }

    // The next packet; nothing when the server closes first or nothing comes in time.
    std::optional<sim::rcon::Packet> Next(std::chrono::milliseconds wait = std::chrono::seconds(10));

    // True when the server closes the connection, sending nothing more, within `wait`.
    bool ClosedByServer(std::chrono::milliseconds wait = std::chrono::seconds(10));

    // Authenticates as stock clients do; true when the server accepts.
    bool Authenticate(const std::string& password, std::int32_t id = 1);

    // Sends one command and returns its one reply body; nothing when none comes.
    std::optional<std::string> Command(const std::string& body, std::int32_t id);

private:
    void Receive(std::chrono::milliseconds wait);

    std::unique_ptr<asio::io_context> io_ = std::make_unique<asio::io_context>();
    asio::ip::tcp::socket socket_{*io_};
    sim::rcon::PacketDecoder decoder_;
    std::deque<sim::rcon::Packet> received_;
    bool closed_ = false;
    bool malformed_ = false;
};

}  // namespace kestrova::test
