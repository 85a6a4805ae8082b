// The boundary between a command and the host: no exception crosses it.
#pragma once

#include <nlohmann/json.hpp>

#include "plugin/logger.h"

namespace kestrova {

// Runs one command's body: every registered callback runs in it, and so does a
// plain command that a targeted form hands a line on to. A configuration value of
// the wrong type is a configuration failure, the one thing the log carries; any
// other error (a number that does not convert, say) ends the command silently, as
// malformed input does.
template <typename Body>
void RunContained(Body&& body) noexcept
{
    try {
        body();
    } catch (const nlohmann::json::exception& e) {
        LogError(e.what());
    } catch (...) {
    }
}

}  // namespace kestrova
