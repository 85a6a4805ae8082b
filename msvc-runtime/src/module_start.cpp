#include "module_start.h"

#include <windows.h>

#include <corecrt_startup.h>

#include <vcruntime_typeinfo.h>

extern "C" {
void __cdecl __security_init_cookie();
// ucrtbase.dll runs a table of initialisers, skipping the linker's zero padding.
_ACRTIMP void __cdecl _initterm(_PVFV* first, _PVFV* last);
_ACRTIMP int __cdecl _initterm_e(_PIFV* first, _PIFV* last);
}

// The linker sorts sections by the name after '$', so these bracket what the
// compiler puts between them (.CRT$XCU, C++ constructors; .CRT$XIU, C initialisers).
#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
extern "C" {
__declspec(allocate(".CRT$XIA")) _PIFV __xi_a[] = {nullptr};
__declspec(allocate(".CRT$XIZ")) _PIFV __xi_z[] = {nullptr};
__declspec(allocate(".CRT$XCA")) _PVFV __xc_a[] = {nullptr};
__declspec(allocate(".CRT$XCZ")) _PVFV __xc_z[] = {nullptr};
}

// The names type_info::name() made, freed when the module ends.
extern "C" {
struct alignas(16) __type_info_node {
  SLIST_HEADER header;
};
__type_info_node __type_info_root_node{};
}

namespace {
_onexit_table_t module_exit_table;
}

// A module's atexit is its own: a DLL's static objects end when the DLL is unloaded,
// not when the process ends, after the DLL's code is gone.
extern "C" int __cdecl atexit(_PVFV function) {
  return _register_onexit_function(&module_exit_table, reinterpret_cast<_onexit_t>(function)) == 0 ? 0 : -1;
}

namespace msvc_runtime {
bool StartModule() noexcept {
  __security_init_cookie();
  if (_initialize_onexit_table(&module_exit_table) != 0) return false;
  if (_initterm_e(__xi_a, __xi_z) != 0) return false;
  _initterm(__xc_a, __xc_z);
  StartThreadLocals();
  return true;
}

void EndModule() noexcept {
  _execute_onexit_table(&module_exit_table);
  __std_type_info_destroy_list(&__type_info_root_node);
}
}  // namespace msvc_runtime
