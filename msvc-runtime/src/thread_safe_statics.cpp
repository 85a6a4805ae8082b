// The first use of a function-local static, made once however many threads reach it:
// the compiler calls these around its initialiser when the object's guard is newer
// than what this thread has seen (_Init_thread_epoch).
#include <windows.h>

#include <limits.h>

namespace {
constexpr int uninitialized = 0;
constexpr int being_initialized = -1;
SRWLOCK lock = SRWLOCK_INIT;
CONDITION_VARIABLE initialised = CONDITION_VARIABLE_INIT;
}  // namespace

extern "C" {
int _Init_global_epoch = INT_MIN;
__declspec(thread) int _Init_thread_epoch = INT_MIN;

void __cdecl _Init_thread_header(int* const guard) noexcept {
  AcquireSRWLockExclusive(&lock);
  if (*guard == uninitialized) {
    *guard = being_initialized;  // this thread runs the initialiser
  } else {
    while (*guard == being_initialized) {
      SleepConditionVariableSRW(&initialised, &lock, INFINITE, 0);
      if (*guard == uninitialized) {  // the other thread's initialiser threw: try again here
        *guard = being_initialized;
        ReleaseSRWLockExclusive(&lock);
        return;
      }
    }
    _Init_thread_epoch = _Init_global_epoch;
  }
  ReleaseSRWLockExclusive(&lock);
}

void __cdecl _Init_thread_abort(int* const guard) noexcept {
  AcquireSRWLockExclusive(&lock);
  *guard = uninitialized;
  ReleaseSRWLockExclusive(&lock);
  WakeAllConditionVariable(&initialised);
}

void __cdecl _Init_thread_footer(int* const guard) noexcept {
  AcquireSRWLockExclusive(&lock);
  ++_Init_global_epoch;
  *guard = _Init_global_epoch;
  _Init_thread_epoch = _Init_global_epoch;
  ReleaseSRWLockExclusive(&lock);
  WakeAllConditionVariable(&initialised);
}
}
