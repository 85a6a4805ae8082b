// The /GS stack cookie: a value per module and run, checked before a function with a
// buffer returns; a mismatch ends the process at once, as Windows' own runtime does
// (__fastfail). Built without /GS itself: the cookie changes under its own frame.
#include <windows.h>

#include <intrin.h>
#include <stdint.h>

namespace {
constexpr uintptr_t default_cookie = 0x00002B992DDFA232;
}

extern "C" {
uintptr_t __security_cookie = default_cookie;
uintptr_t __security_cookie_complement = ~default_cookie;

void __cdecl __security_init_cookie() {
  if (__security_cookie != default_cookie) return;
  FILETIME time{};
  GetSystemTimeAsFileTime(&time);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  uintptr_t cookie = (static_cast<uintptr_t>(time.dwHighDateTime) << 32) ^ time.dwLowDateTime;
  cookie ^= GetCurrentThreadId();
  cookie ^= GetCurrentProcessId();
  cookie ^= (static_cast<uintptr_t>(counter.LowPart) << 32) ^ static_cast<uintptr_t>(counter.QuadPart);
  cookie ^= reinterpret_cast<uintptr_t>(&cookie);
  cookie &= 0x0000FFFFFFFFFFFF;  // the top bits stay zero, so a string overrun cannot forge it
  if (cookie == default_cookie) ++cookie;
  __security_cookie = cookie;
  __security_cookie_complement = ~cookie;
}

void __cdecl __security_check_cookie(uintptr_t cookie) {
  if (cookie != __security_cookie) __fastfail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}
}
