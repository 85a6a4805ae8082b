// Library entry on Windows: the platform loader drives load and unload.
#include <windows.h>

#include "plugin/lifecycle.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    try {
        if (reason == DLL_PROCESS_ATTACH)
            kestrova::Load();
        else if (reason == DLL_PROCESS_DETACH)
            kestrova::Unload();
    } catch (...) {
        // An exception must not leave DllMain. A failed load has been logged and
        // registered nothing; FALSE makes LoadLibrary fail.
        return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
    }
    return TRUE;
}
