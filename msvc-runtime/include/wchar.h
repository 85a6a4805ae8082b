// Wine's <wchar.h>, with Microsoft's mbstate_t (an 8-byte _Mbstatet, see corecrt.h,
// not Wine's int) and the functions Microsoft's header has inline.
#pragma once
#define mbstate_t __wine_int_mbstate_t
#define mbrlen __wine_mbrlen
#define mbrtowc __wine_mbrtowc
#define mbsrtowcs __wine_mbsrtowcs
#define wcrtomb __wine_wcrtomb
#define wcsrtombs __wine_wcsrtombs
#include_next <wchar.h>
#include <stdio.h>
#undef mbstate_t
#undef mbrlen
#undef mbrtowc
#undef mbsrtowcs
#undef wcrtomb
#undef wcsrtombs

#ifdef __cplusplus
extern "C" {
#endif
typedef _Mbstatet mbstate_t;

_ACRTIMP size_t __cdecl mbrlen(char const*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl mbrtowc(wchar_t*, char const*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl mbsrtowcs(wchar_t*, char const**, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl wcrtomb(char*, wchar_t, mbstate_t*);
_ACRTIMP size_t __cdecl wcsrtombs(char*, wchar_t const**, size_t, mbstate_t*);
_ACRTIMP long double __cdecl wcstold(wchar_t const*, wchar_t**);

// Inline in Microsoft's headers too: ucrtbase.dll exports none of them.
static __inline int __cdecl mbsinit(mbstate_t const* _P) { return _P == NULL || _P->_Wchar == 0; }
static __inline int __cdecl fwide(FILE* _F, int _Mode) { (void)_F; return _Mode; }
static __inline int __cdecl vfwscanf(FILE* _F, wchar_t const* _Format, va_list _Args) {
  return __stdio_common_vfwscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _F, _Format, NULL, _Args);
}
static __inline int __cdecl vswscanf(wchar_t const* _Buffer, wchar_t const* _Format, va_list _Args) {
  return __stdio_common_vswscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _Buffer, (size_t)-1, _Format, NULL, _Args);
}
static __inline int __cdecl vwscanf(wchar_t const* _Format, va_list _Args) {
  return vfwscanf(stdin, _Format, _Args);
}
#ifdef __cplusplus
}
#endif
