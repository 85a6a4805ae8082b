// Wine's <corecrt.h>, with Microsoft's _Mbstatet: 8 bytes, where Wine's mbstate_t is
// a 4-byte int. It is part of stream positions' layout and of mangled names in
// msvcp140.dll (mbstate_t itself is declared in wchar.h).
#pragma once
#include_next <corecrt.h>
#ifdef __cplusplus
extern "C" {
#endif
typedef struct _Mbstatet {
  unsigned long _Wchar;
  unsigned short _Byte, _State;
} _Mbstatet;
#ifdef __cplusplus
}
#endif
