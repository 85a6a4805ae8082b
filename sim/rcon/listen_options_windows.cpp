#include "rcon/listen_options.h"

#include <winsock2.h>

namespace sim::rcon {

// Windows binds next to old connections anyway; its address reuse would let another
// program take the port over, so ask for the port exclusively instead.
std::error_code PrepareAddressUse(asio::ip::tcp::acceptor& acceptor)
{
    BOOL exclusive = TRUE;
    if (setsockopt(acceptor.native_handle(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
                   static_cast<int>(sizeof exclusive)) == SOCKET_ERROR)
        return {WSAGetLastError(), std::system_category()};
    return {};
}

}  // namespace sim::rcon
