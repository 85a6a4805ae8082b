#include "rcon/listen_options.h"

#include <asio/error.hpp>

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

// The C++ runtime has no words for Winsock's codes, and the system's own are long
// and vary by version: the ones a user can act on are named as everywhere else.
std::string DescribeListenFailure(const std::error_code& failure)
{
    if (failure == asio::error::address_in_use)
        return "Address already in use";
    if (failure == asio::error::access_denied)
        return "Permission denied";
    if (failure.category() != std::system_category())
        return failure.message();
    char text[512];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(failure.value()), 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(failure.value()) : message;
}

}  // namespace sim::rcon
