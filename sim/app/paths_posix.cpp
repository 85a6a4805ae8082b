#include "paths.h"

#include <system_error>

namespace sim {

std::filesystem::path ExecutableDir()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
}

std::string_view PluginFileName() { return "Kestrova.so"; }

}  // namespace sim
