// Wine's <stdlib.h>, with atexit not imported: a module's atexit is its own (its
// functions run when that module ends, not the process), and the functions it lacks declared.
#pragma once
#define atexit __wine_imported_atexit
#include_next <stdlib.h>
#include <errno.h>  // Microsoft's <stdlib.h> gives errno's values too
#undef atexit
#ifdef __cplusplus
extern "C" {
#endif
int __cdecl atexit(void(__cdecl*)(void));
_ACRTIMP unsigned int __cdecl _set_abort_behavior(unsigned int _Flags, unsigned int _Mask);
#ifndef _WRITE_ABORT_MSG
#define _WRITE_ABORT_MSG 0x1
#define _CALL_REPORTFAULT 0x2
#endif
_ACRTIMP int __cdecl at_quick_exit(void(__cdecl*)(void));
_ACRTIMP __declspec(noreturn) void __cdecl quick_exit(int);
#ifndef _GETENV_S_DEFINED
_ACRTIMP errno_t __cdecl getenv_s(size_t* _RequiredCount, char* _Buffer, size_t _BufferCount, char const* _VarName);
#endif
#ifdef __cplusplus
}
#endif
