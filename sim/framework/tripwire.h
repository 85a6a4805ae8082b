// A point in the plugin's work where kestrova-sim can be made to stop dead, as a
// server does when its process is killed, so that a test can kill the plugin
// between any two things it does. Points are named as the journal names them:
//
//   dispatch:KV.Order                                the host is about to run that command
//   call:AShooterPlayerController.SpawnActor(...)    the plugin calls that game member
//   return:APrimalDinoCharacter.Destroy(bool,bool)   that game member has returned to the plugin
//
// The wire is passed whether the journal is on or off.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Export.h"

namespace sim {

enum class TripWhen : std::uint8_t { Dispatch, Call, Return };

struct TripPoint {
    TripWhen when = TripWhen::Call;
    std::string name;  // a registered command's name, or a member's full name
};

// Reads "dispatch:NAME", "call:NAME" or "return:NAME"; nothing for anything else.
SDK_API std::optional<TripPoint> ParseTripPoint(std::string_view text);

// Runs `action` the first time the plugin passes `point`; it runs once. The
// action that kills the process never returns.
using TripAction = void (*)(const TripPoint& point);
SDK_API void ArmTripwire(TripPoint point, TripAction action);

// Where the plugin passes: the host's dispatch of a command, and each game member
// as it is called and as it returns. Game thread only.
SDK_API void PassTripwire(TripWhen when, std::string_view name);

}  // namespace sim
