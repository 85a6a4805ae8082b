// One RCON client connection that never waits longer than it is told: every call
// takes a bound and gives up when it runs out. For the fault mix and the honest
// clients, where what the server does (reply, close, stay silent) is the result.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>

#include "rcon/protocol.h"

namespace kestrova::tools {

using Clock = std::chrono::steady_clock;

class Peer {
public:
    enum class Got { Packet, Closed, Nothing, Malformed };

    Peer();

    // Connects from the local address `from` (empty: any) to `host`:`port`.
    bool Connect(const std::string& host, std::uint16_t port, const std::string& from, Clock::duration wait);

    // False when the bytes could not all be written in time (the server may have closed).
    bool Write(std::string_view bytes, Clock::duration wait);
    bool Send(const sim::rcon::Packet& packet, Clock::duration wait)
    {
        return Write(sim::rcon::EncodePacket(packet), wait);
    }

    // The next packet, or why there is none.
    Got Next(sim::rcon::Packet& packet, Clock::duration wait);

    // Sends the password and reads the answer: true when accepted.
    bool Authenticate(const std::string& password, Clock::duration wait);

    // Reads at most `limit` bytes as they come, unparsed; 0 when closed or nothing came.
    std::size_t ReadRaw(std::size_t limit, Clock::duration wait);

    // Whether the server closes the connection within `wait`; what it sends before is dropped.
    bool ClosedByServer(Clock::duration wait);

    // Without waiting: whether the server has closed its side already.
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

    std::unique_ptr<asio::io_context> io_ = std::make_unique<asio::io_context>();
    asio::ip::tcp::socket socket_{*io_};
    sim::rcon::PacketDecoder decoder_;
    std::deque<sim::rcon::Packet> received_;
    bool closed_ = false;
    bool malformed_ = false;
};

}  // namespace kestrova::tools
