// Wine's <winbase.h>, with the declarations of kernel32's functions it lacks.
#pragma once
#include_next <winbase.h>
#ifdef __cplusplus
extern "C" {
#endif
WINBASEAPI BOOL WINAPI GetProcessHandleCount(HANDLE Process, PDWORD HandleCount);
#ifdef __cplusplus
}
#endif
