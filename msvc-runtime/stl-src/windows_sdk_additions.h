// Declarations of Windows 10 and 11 that the standard library's file system code uses
// and Wine's headers lack (values from Windows' SDK documentation). Forced into the
// standard library's own sources only.
#pragma once
#include <windows.h>

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif
#ifndef FILE_DISPOSITION_FLAG_DELETE
#define FILE_DISPOSITION_FLAG_DELETE 0x00000001
#define FILE_DISPOSITION_FLAG_POSIX_SEMANTICS 0x00000002
#define FILE_DISPOSITION_FLAG_IGNORE_READONLY_ATTRIBUTE 0x00000010
#endif

extern "C" {
typedef struct _FILE_ID_128 {
  BYTE Identifier[16];
} FILE_ID_128;
typedef struct _FILE_ID_INFO {
  ULONGLONG VolumeSerialNumber;
  FILE_ID_128 FileId;
} FILE_ID_INFO;
typedef struct _FILE_DISPOSITION_INFO_EX {
  DWORD Flags;
} FILE_DISPOSITION_INFO_EX;

// Windows 11's; the library looks it up at run time and falls back to GetTempPathW.
DWORD WINAPI GetTempPath2W(DWORD BufferLength, LPWSTR Buffer);
_ACRTIMP unsigned int __cdecl ___lc_codepage_func(void);
}
