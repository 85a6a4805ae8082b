// Wine's <stdio.h>, with the functions Microsoft's header has inline over ucrtbase.dll's
// common entries and Wine's lacks: vsnprintf_s and the v*scanf family; and the stream
// buffer's accessor, which <fstream> uses.
#pragma once
#include_next <stdio.h>
#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP errno_t __cdecl _get_stream_buffer_pointers(FILE* _Stream, char*** _Base, char*** _Ptr, int** _Count);
_ACRTIMP int __cdecl __stdio_common_vfscanf(unsigned __int64, FILE*, char const*, _locale_t, va_list);
static __inline int __cdecl vfscanf(FILE* _F, char const* _Format, va_list _Args) {
  return __stdio_common_vfscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _F, _Format, NULL, _Args);
}
static __inline int __cdecl vsscanf(char const* _Buffer, char const* _Format, va_list _Args) {
  return __stdio_common_vsscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _Buffer, (size_t)-1, _Format, NULL, _Args);
}
static __inline int __cdecl vsnprintf_s(char* _Buffer, size_t _BufferCount, size_t _MaxCount, char const* _Format,
                                        va_list _Args) {
  int const _Result = __stdio_common_vsnprintf_s(_CRT_INTERNAL_LOCAL_PRINTF_OPTIONS, _Buffer, _BufferCount, _MaxCount,
                                                 _Format, NULL, _Args);
  return _Result < 0 ? -1 : _Result;
}
static __inline int __cdecl vscanf(char const* _Format, va_list _Args) { return vfscanf(stdin, _Format, _Args); }
#ifdef __cplusplus
}
#endif
