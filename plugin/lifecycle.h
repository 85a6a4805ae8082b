// Starting and stopping the plugin.
#pragma once

namespace kestrova {

// Creates the plugin logger, reads the configuration, logs the game members the
// game lacks (nothing when it has them all) and registers every command.
// A configuration failure is logged and rethrown, and nothing is registered.
void Load();

// Removes every registration. The logger and the configuration stay.
void Unload();

}  // namespace kestrova
