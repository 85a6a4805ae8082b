// The floor: the least an RCON server can do over loopback. It speaks the same
// framing as kestrova-sim (the same decoder and encoder) and answers each command
// with its own text at once, on one network thread, with no game thread behind it.
// What the load generator measures against it is the cost of the client, the
// protocol and the loopback alone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kestrova::tools {

class EchoServer {
public:
    // Listens on 127.0.0.1 at a free port; `password` is the only one accepted.
    explicit EchoServer(std::string password);
    ~EchoServer();
    EchoServer(const EchoServer&) = delete;
    EchoServer& operator=(const EchoServer&) = delete;

    std::uint16_t Port() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kestrova::tools
