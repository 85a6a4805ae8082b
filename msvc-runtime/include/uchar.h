// Wine's <uchar.h>, its conversions taking Microsoft's mbstate_t (see wchar.h).
#pragma once
#include <wchar.h>
#define mbstate_t __wine_int_mbstate_t
#define mbrtoc16 __wine_mbrtoc16
#define c16rtomb __wine_c16rtomb
#define mbrtoc32 __wine_mbrtoc32
#define c32rtomb __wine_c32rtomb
#include_next <uchar.h>
#undef mbstate_t
#undef mbrtoc16
#undef c16rtomb
#undef mbrtoc32
#undef c32rtomb

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP size_t __cdecl mbrtoc16(char16_t*, char const*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl c16rtomb(char*, char16_t, mbstate_t*);
_ACRTIMP size_t __cdecl mbrtoc32(char32_t*, char const*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl c32rtomb(char*, char32_t, mbstate_t*);
#ifdef __cplusplus
}
#endif
