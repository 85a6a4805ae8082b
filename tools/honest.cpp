#include "honest.h"

namespace kestrova::tools {

using namespace std::chrono_literals;

Login LogIn(const Endpoint& server, const std::string& from, std::size_t tries)
{
    // A server that needs longer than this to answer has failed already.
    constexpr auto kWait = 5s;
    Login login;
    const auto start = Clock::now();
    while (login.tries < tries && !login.in) {
        ++login.tries;
        const auto tryStart = Clock::now();
        RconClient client;
        login.in = client.Connect(server.host, server.port, from, kWait) &&
                   client.Authenticate(server.password, 1, kWait);
        login.took = Clock::now() - start;
        login.refused = !login.in && Clock::now() - tryStart < kWait;
        client.Close();
        if (!login.refused)
            break;
    }
    return login;
}

}  // namespace kestrova::tools
