// What crosses between the RCON endpoint and its owner: a command request, its
// replies, and the handle that carries the replies back from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sim::rcon {

struct Request {
    std::int32_t id = 0;   // the request id; replies usually carry it
    std::string body;      // the command line, valid UTF-8
    std::string address;   // the client's address, for the owner's log
    std::uint16_t port = 0;  // the client's port: which of the address's connections
};

struct Reply {
    std::int32_t id = 0;
    std::string body;  // UTF-8; split over several packets when long

    bool operator==(const Reply&) const = default;
};

// Carries the replies to one request back to its connection. Copyable and callable
// from any thread; the first call (or hang-up) counts. When the last copy goes
// without a call, the request is answered with nothing, so a dropped request never
// stalls its connection.
class Respond {
public:
    using Deliver = std::function<void(std::vector<Reply>)>;
    using HangUp = std::function<void()>;

    explicit Respond(Deliver deliver, HangUp hangUp = {});

    void operator()(std::vector<Reply> replies) const;
    // Answers nothing and closes the connection instead, as a network that fails
    // after the command ran. Without a hang-up of its own it answers nothing.
    void HangUpInstead() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Takes a command request on the network thread. It must not run command code
// there: it hands the request on (to the game thread) and returns at once.
using Execute = std::function<void(Request, Respond)>;

// Receives the endpoint's notices (refused connections, wrong passwords, timeouts)
// on the network thread.
using Log = std::function<void(std::string_view)>;

}  // namespace sim::rcon
