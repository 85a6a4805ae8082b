// The boundary between a command and the host: no exception crosses it.
#pragma once

#include <exception>

#include <nlohmann/json.hpp>

#include "host/outcome.h"
#include "plugin/logger.h"

namespace kestrova {

// Runs one command's body: every registered callback runs in it. A configuration
// value of the wrong type is a configuration failure, the one thing the log
// carries; any other error ends the command silently, as malformed input does.
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

// Runs a spawn command's body and gives its outcome; an error raised in it ends
// the command there and becomes a failed outcome, logged as RunContained would.
template <typename Body>
Outcome RunForOutcome(Body&& body)
{
    try {
        return body();
    } catch (const nlohmann::json::exception& e) {
        LogError(e.what());
        return Outcome::Failed(e.what());
    } catch (const std::exception& e) {
        return Outcome::Failed(e.what());
    } catch (...) {
        return Outcome::Failed("an error that is not a standard exception");
    }
}

}  // namespace kestrova
