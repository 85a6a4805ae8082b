// Where the simulator finds things on each platform.
#pragma once

#include <filesystem>
#include <string_view>

namespace sim {

// The directory of the running executable; the current directory when the
// platform cannot say.
std::filesystem::path ExecutableDir();

// The plugin library's file name on this platform.
std::string_view PluginFileName();

}  // namespace sim
