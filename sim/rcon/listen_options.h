// How the listening socket treats its address, which differs by platform.
#pragma once

#include <system_error>

#include <asio/ip/tcp.hpp>

namespace sim::rcon {

// Set on an open acceptor before it binds: restarting the server must not wait for
// old connections to time out, and no other program may take over the port.
std::error_code PrepareAddressUse(asio::ip::tcp::acceptor& acceptor);

}  // namespace sim::rcon
