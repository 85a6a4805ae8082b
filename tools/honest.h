// An honest new client: connects, authenticates at once and goes, trying again
// when it is refused.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "good_client.h"

namespace kestrova::tools {

struct Login {
    bool in = false;       // authenticated
    bool refused = false;  // the last try was closed or answered -1, not merely slow
    std::size_t tries = 0;
    Clock::duration took{};  // from the first connect to authenticated
};

// Up to `tries` tries, each one given up after a few seconds without an answer.
Login LogIn(const Endpoint& server, const std::string& from, std::size_t tries);

}  // namespace kestrova::tools
