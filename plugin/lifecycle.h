// Starting and stopping the plugin.
#pragma once

namespace kestrova {

// Creates the plugin logger, reads the configuration and registers every command.
// A configuration failure is logged and rethrown, and nothing is registered.
void Load();

// Removes every registration. The logger and the configuration stay.
void Unload();

}  // namespace kestrova
