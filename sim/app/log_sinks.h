// The host's log sinks as the simulator sets them up.
#pragma once

#include <memory>

#include "framework/host.h"

namespace sim {

// Replaces the host's sinks with one that writes to standard error (in colour on
// a terminal) and one that keeps every line for /log. Returns the latter.
std::shared_ptr<CapturingSink> SetUpLogSinks();

// The capturing sink among the host's sinks, or null.
std::shared_ptr<CapturingSink> FindCapturingSink();

}  // namespace sim
