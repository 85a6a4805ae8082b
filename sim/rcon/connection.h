// One RCON client's session on the network thread: authentication, requests in
// order, replies written whole, and the timers that end a silent session.
#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <asio/ip/tcp.hpp>
#include <asio/steady_timer.hpp>

#include "rcon/lockouts.h"
#include "rcon/mailbox.h"
#include "rcon/notices.h"
#include "rcon/protocol.h"
#include "rcon/server.h"

namespace sim::rcon {

class Connection;

// What the connections of one server share. Used on the network thread only.
struct ConnectionContext {
    const ServerOptions& options;
    const Execute& execute;
    Lockouts& lockouts;
    std::shared_ptr<Mailbox> mailbox;
    std::function<void(Notice, const std::string&)> note;
    std::function<void(Connection&)> authenticated;
    std::function<void(Connection&)> closed;
};

// Whether `given` is the password, in a time that does not depend on where the two
// differ. No password at all is never matched.
bool PasswordMatches(std::string_view given, std::string_view expected);

class Connection : public std::enable_shared_from_this<Connection> {
public:
    using Clock = std::chrono::steady_clock;

    Connection(asio::ip::tcp::socket socket, std::string address, std::uint16_t port, ConnectionContext& context);

    void Start();
    void Close();
    // Closes a connection that has not authenticated, so that a newer one can.
    void Evict();
    const std::string& Address() const { return address_; }

    // Whether it may be closed to make room: it came at least `after` ago, and no bytes
    // of it wait to be read (what has come in is heard first).
    bool MayMakeWay(Clock::time_point now, Clock::duration after) const;

private:
    void Read();
    void Process();
    void Handle(Packet packet);
    void Authenticate(const Packet& packet);
    void Dispatch(Packet packet);
    void Deliver(std::vector<Reply> replies);
    void Send(Packet packet);
    void WriteNext();
    void WaitFor(Clock::time_point deadline);
    void Expired();
    void Note(Notice kind, std::string_view what) const;

    asio::ip::tcp::socket socket_;
    asio::steady_timer timer_;
    std::string address_;
    std::uint16_t port_;
    ConnectionContext& context_;

    std::array<char, 4096> readBuffer_;
    PacketDecoder decoder_;
    std::deque<Packet> pending_;       // received, not yet handled
    std::deque<std::string> writes_;   // encoded packets; the front one may be in flight

    Clock::time_point started_;
    Clock::time_point lastActivity_;
    bool authenticated_ = false;
    bool reading_ = false;
    bool writing_ = false;
    bool busy_ = false;                // a command is with the executor
    bool closeAfterWrites_ = false;
    bool closed_ = false;
};

}  // namespace sim::rcon
