#include "paths.h"

#include <string>

#include <windows.h>

namespace sim {

std::filesystem::path ExecutableDir()
{
    std::wstring buffer(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::filesystem::current_path();
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string_view PluginFileName() { return "Kestrova.dll"; }

}  // namespace sim
