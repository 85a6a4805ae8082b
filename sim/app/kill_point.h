// Whether a --kill-at point can be reached at all: a command the plugin
// registered, or a game function the stand-in has. Anything else would silently
// never kill.
#pragma once

#include <string>

#include "framework/tripwire.h"

namespace sim {

// Empty when the point names a registered command (dispatch:) or a game function
// (call:, return:); otherwise why not, with the valid forms. Asked once the
// plugin has loaded and registered its commands.
std::string KillPointProblem(const TripPoint& point);

}  // namespace sim
