#include "rcon/listen_options.h"

namespace sim::rcon {

// Here reusing the address only allows binding next to connections in TIME_WAIT;
// another listener on the same port is still refused.
std::error_code PrepareAddressUse(asio::ip::tcp::acceptor& acceptor)
{
    std::error_code error;
    acceptor.set_option(asio::ip::tcp::acceptor::reuse_address(true), error);
    return error;
}

std::string DescribeListenFailure(const std::error_code& failure) { return failure.message(); }

}  // namespace sim::rcon
