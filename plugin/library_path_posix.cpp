#include "plugin/library_path.h"

#include <dlfcn.h>

#include <filesystem>

namespace kestrova {

WideString PluginLibraryPath()
{
    // The object that holds this very function is the plugin's library.
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&PluginLibraryPath), &info) == 0 || info.dli_fname == nullptr)
        return {};
    const std::u16string path = std::filesystem::absolute(info.dli_fname).u16string();
    return WideString(path.begin(), path.end());
}

}  // namespace kestrova
