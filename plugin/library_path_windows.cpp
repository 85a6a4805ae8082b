#include "plugin/library_path.h"

#include <windows.h>

namespace kestrova {

std::u16string PluginLibraryPath()
{
    // The module that holds this very function is the plugin's library.
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&PluginLibraryPath), &module))
        return {};
    wchar_t buffer[260] = {};
    const DWORD length = GetModuleFileNameW(module, buffer, 260);
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

}  // namespace kestrova
