// Library entry where there is no Windows loader: the host calls the exported hooks.
#include "Export.h"
#include "PluginHooks.h"
#include "plugin/lifecycle.h"

extern "C" SDK_EXPORT bool Plugin_Load()
{
    try {
        kestrova::Load();
        return true;
    } catch (...) {
        // Load has logged why; the host unloads the library.
        return false;
    }
}

extern "C" SDK_EXPORT void Plugin_Unload()
{
    try {
        kestrova::Unload();
    } catch (...) {
    }
}
