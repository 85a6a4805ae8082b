// The DllMain of a DLL that has none of its own; the linker takes it from the library
// only then.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
