// One RCON client connection over TCP: sends exactly the bytes it is given, shows
// exactly the packets that come back, and never waits longer than it is told. Where
// what the server does (reply, close, stay silent) is the result: in the tests, the
// fault mix and the honest clients.
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

namespace kestrova::tools {

using Clock = std::chrono::steady_clock;

class RconClient {
public:
    enum class Got { Packet, Closed, Nothing, Malformed };

    // How long a call waits for the server unless told otherwise: only a bound, never a measure.
    static constexpr Clock::duration kWait = std::chrono::seconds(10);

    // Connects from the local address `from` (empty: any) to `host`:`port`. Other
    // loopback addresses stand for other machines.
    bool Connect(const std::string& host, std::uint16_t port, const std::string& from = {},
                 Clock::duration wait = kWait);

    // False when the bytes could not all be written in time (the server may have
    // closed already; reading tells).
    bool Write(std::string_view bytes, Clock::duration wait = kWait);
    bool Send(const sim::rcon::Packet& packet, Clock::duration wait = kWait)
    {
        return Write(sim::rcon::EncodePacket(packet), wait);
    }

    // The next packet, or why there is none.
    Got Next(sim::rcon::Packet& packet, Clock::duration wait = kWait);
    // The next packet; nothing when the server closes first or nothing comes in time.
    std::optional<sim::rcon::Packet> Next(Clock::duration wait = kWait);

    // Authenticates as stock clients do: true when the server accepts.
    bool Authenticate(const std::string& password, std::int32_t id = 1, Clock::duration wait = kWait);

    // Sends one command and returns its one reply body; nothing when none comes.
    std::optional<std::string> Command(const std::string& body, std::int32_t id, Clock::duration wait = kWait);

    // Reads at most `limit` bytes as they come, unparsed; 0 when closed or nothing came.
    std::size_t ReadRaw(std::size_t limit, Clock::duration wait);

    // True when the server closes the connection within `wait`, sending nothing more.
    bool ClosedByServer(Clock::duration wait = kWait);

    // Without waiting: whether the server has closed its side already. What it sent is dropped.
    bool ServerHasClosed();

    // Ends the client's side of the stream; the server hears the end of it.
    void EndSending();

    // Closes with a reset instead of an orderly end, as a crashed client would.
    void Abort();
    void Close();

private:
    template <typename Start>
    bool Run(Start start, Clock::duration wait);
    Got Fill(Clock::duration wait);

    std::unique_ptr<asio::io_context> io_ = std::make_unique<asio::io_context>();  // so that a client can move
    asio::ip::tcp::socket socket_{*io_};
    sim::rcon::PacketDecoder decoder_;
    std::deque<sim::rcon::Packet> received_;
    bool closed_ = false;
    bool malformed_ = false;
};

}  // namespace kestrova::tools
