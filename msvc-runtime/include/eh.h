// Wine's <eh.h>, with C linkage: terminate, set_terminate and the rest are C names
// in ucrtbase.dll, and Wine declares them as C++ functions; and the getters it lacks.
#pragma once
extern "C" {
#include_next <eh.h>
_ACRTIMP terminate_handler __cdecl _get_terminate(void);
_ACRTIMP unexpected_handler __cdecl _get_unexpected(void);
}
