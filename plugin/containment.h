// The boundary between a command and the host: no exception crosses it.
#pragma once

#include <exception>

#include <nlohmann/json.hpp>

#include "host/missing_member.h"
#include "host/outcome.h"
#include "plugin/logger.h"
#include "plugin/missing_member_report.h"

namespace kestrova {

// Runs one command's body: every registered callback runs in it. A configuration
// value of the wrong type is a configuration failure, and a member the game lacks
// is told as ReportMissingMember tells it: the two things the log carries; any
// other error ends the command silently, as malformed input does.
template <typename Body>
void RunContained(Body&& body) noexcept
{
    try {
        body();
    } catch (const MissingMember& e) {
        ReportMissingMember(e);
    } catch (const nlohmann::json::exception& e) {
        LogError(e.what());
    } catch (...) {
    }
}

// The failed outcome of `error`, logged as RunContained would.
Outcome FailedOutcome(const std::exception_ptr& error);

// Runs a spawn command's body and gives its outcome; an error raised in it ends
// the command there and becomes a failed outcome, which still shows what the run
// made before it (MadeBeforeError).
template <typename Body>
Outcome RunForOutcome(Body&& body)
{
    try {
        return body();
    } catch (const MadeBeforeError& partial) {
        Outcome outcome = FailedOutcome(partial.Cause());
        outcome.creature = partial.made.creature;
        outcome.items = partial.made.items;
        return outcome;
    } catch (...) {
        return FailedOutcome(std::current_exception());
    }
}

}  // namespace kestrova
