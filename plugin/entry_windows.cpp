// Library entry on Windows: the platform loader drives load and unload.
#include <windows.h>

#include "plugin/lifecycle.h"

namespace {

// Set once Load has succeeded. When DllMain fails the attach, the loader still
// calls it to detach; Unload must not then remove registrations that this copy
// never made, since commands of the same names may belong to another copy.
bool started = false;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        try {
            kestrova::Load();
        } catch (...) {
            // Load has logged why and registered nothing; FALSE makes LoadLibrary fail.
            return FALSE;
        }
        started = true;
    } else if (reason == DLL_PROCESS_DETACH && started) {
        started = false;
        try {
            kestrova::Unload();
        } catch (...) {
            // An exception must not leave DllMain.
        }
    }
    return TRUE;
}
