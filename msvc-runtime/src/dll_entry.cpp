// A DLL's entry point: the module's static objects are made before its DllMain sees
// the process attach, and end after it has seen the detach.
#include <windows.h>

#include "module_start.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI _DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    if (!msvc_runtime::StartModule()) return FALSE;
    if (DllMain(instance, reason, reserved)) return TRUE;
    msvc_runtime::EndModule();
    return FALSE;
  }
  BOOL const result = DllMain(instance, reason, reserved);
  if (reason == DLL_PROCESS_DETACH) msvc_runtime::EndModule();
  return result;
}
