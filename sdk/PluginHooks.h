// How a host starts and stops a plugin.
//
// On Windows the platform loader does it: the library's DllMain runs the plugin's
// load on DLL_PROCESS_ATTACH and its unload on DLL_PROCESS_DETACH, and a DllMain
// that returns FALSE makes LoadLibrary fail.
//
// Elsewhere the host calls two exported hooks instead:
//   - right after loading the library, before any command can arrive, the host calls
//     PLUGIN_LOAD_HOOK once. It returns true when the plugin started; false when it
//     did not (it has logged why and registered nothing), and the host then unloads
//     the library without calling the unload hook.
//   - before unloading a started plugin, the host calls PLUGIN_UNLOAD_HOOK once.
// Neither hook lets an exception escape.
#pragma once

#define PLUGIN_LOAD_HOOK "Plugin_Load"
#define PLUGIN_UNLOAD_HOOK "Plugin_Unload"

using PluginLoadHook = bool (*)();
using PluginUnloadHook = void (*)();
