// The RCON endpoint: a TCP server speaking the Source RCON protocol on a network
// thread of its own. It authenticates clients and hands each command to the
// owner's executor; it never runs command code itself.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "rcon/request.h"

namespace sim::rcon {

struct ServerOptions {
    std::string bindAddress = "127.0.0.1";
    std::uint16_t port = 27020;  // 0 picks a free port; Server::Port() tells which
    std::string password;        // required: without one the server does not start

    std::chrono::milliseconds authTimeout = std::chrono::seconds(10);
    std::chrono::milliseconds idleTimeout = std::chrono::minutes(5);
    std::size_t maxConnections = 16;
    std::size_t maxConnectionsPerAddress = 4;

    // Connections that have not authenticated yet have a budget of their own within
    // the limits above (at least 1 each). A new connection that finds its address's
    // full closes that address's oldest such connection; one that finds the server's
    // full closes one that has had a moment to authenticate, from the address that
    // holds the most, or else waits, and the listen queue with it, until one has. So
    // clients that never authenticate come and go while one that does always gets in.
    // Per address it is as large as the address's limit: a client that opens its
    // connections all at once must not have its newest ones close its oldest before
    // they could authenticate.
    std::size_t maxUnauthenticated = 8;
    std::size_t maxUnauthenticatedPerAddress = 4;

    // `lockoutFailures` wrong passwords from one address within `lockoutWindow` lock
    // it out for `firstLockout`; each further one while failures go on, for twice as
    // long as the last, up to `maxLockout`.
    std::size_t lockoutFailures = 5;
    std::chrono::milliseconds lockoutWindow = std::chrono::seconds(60);
    std::chrono::milliseconds firstLockout = std::chrono::seconds(1);
    std::chrono::milliseconds maxLockout = std::chrono::minutes(5);
};

class Server {
public:
    Server(ServerOptions options, Execute execute, Log log = {});
    ~Server();

    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Listens and starts the network thread. False when RCON cannot run; Error() says why.
    bool Start();

    // Closes every connection and joins the network thread. Replies that arrive later
    // are dropped. Not to be called from the executor.
    void Stop();

    const std::string& Error() const;
    std::uint16_t Port() const;  // the port listened on, once started
    std::size_t Connections() const;  // open connections, for tests and status
    std::size_t Unauthenticated() const;  // of those, the ones yet to authenticate

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sim::rcon
