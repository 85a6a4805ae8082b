// Wine's <winnt.h> with Windows' WCHAR (wchar_t, not char16_t) and without its own
// _InterlockedCompareExchange128, which clang already provides.
#pragma once
#ifndef WINE_UNICODE_NATIVE
#define WINE_UNICODE_NATIVE
#endif
#define _InterlockedCompareExchange128 __wine_InterlockedCompareExchange128
#include_next <winnt.h>
#undef _InterlockedCompareExchange128
