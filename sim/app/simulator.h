// kestrova-sim from its command line to its exit status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

// Exit status: 0 after end of input or /quit; 1 when the world cannot be read or
// the plugin did not load; 2 for a wrong command line.
int RunSimulator(const std::vector<std::string>& args, const std::filesystem::path& defaultServerDir);

}  // namespace sim
