#include "plugin/library_path.h"

#include <windows.h>

namespace kestrova {

WideString PluginLibraryPath()
{
    // The module that holds this very function is the plugin's library.
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&PluginLibraryPath), &module))
        return {};
    return ReadModuleFileName([module](wchar_t* buffer, std::size_t size) -> std::size_t {
        return GetModuleFileNameW(module, buffer, static_cast<DWORD>(size));
    });
}

}  // namespace kestrova
