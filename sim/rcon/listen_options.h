// How the listening socket treats its address, which differs by platform.
#pragma once

#include <string>
#include <system_error>

#include <asio/ip/tcp.hpp>

namespace sim::rcon {

// Set on an open acceptor before it binds: restarting the server must not wait for
// old connections to time out, and no other program may take over the port.
std::error_code PrepareAddressUse(asio::ip::tcp::acceptor& acceptor);

// Why opening, binding or listening failed, in words a user knows on every
// platform: "Address already in use".
std::string DescribeListenFailure(const std::error_code& failure);

}  // namespace sim::rcon
