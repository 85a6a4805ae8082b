// The module's thread-local storage: the TLS directory the loader reads; the dynamic
// initialisers of thread_local objects (.CRT$XD), run once a thread, when it starts or
// when it first reaches one of them (a thread older than the module); and their
// destructors, run when a thread ends (or the module, for the thread that unloads it).
#include <windows.h>

#include <corecrt_startup.h>
#include <vcruntime_new.h>

#include "module_start.h"

#pragma section(".tls", read, write)
#pragma section(".tls$ZZZ", read, write)
#pragma section(".CRT$XLA", long, read)
#pragma section(".CRT$XLC", long, read)
#pragma section(".CRT$XLD", long, read)
#pragma section(".CRT$XLZ", long, read)
#pragma section(".CRT$XDA", long, read)
#pragma section(".CRT$XDZ", long, read)
#pragma section(".rdata$T", long, read)

extern "C" {
ULONG _tls_index = 0;
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;
__declspec(allocate(".CRT$XLA")) PIMAGE_TLS_CALLBACK __xl_a = nullptr;
__declspec(allocate(".CRT$XLZ")) PIMAGE_TLS_CALLBACK __xl_z = nullptr;
__declspec(allocate(".CRT$XDA")) _PVFV __xd_a = nullptr;
__declspec(allocate(".CRT$XDZ")) _PVFV __xd_z = nullptr;

// The linker points the image's TLS directory at this symbol.
extern __declspec(allocate(".rdata$T")) IMAGE_TLS_DIRECTORY64 const _tls_used = {
    reinterpret_cast<ULONGLONG>(&_tls_start), reinterpret_cast<ULONGLONG>(&_tls_end),
    reinterpret_cast<ULONGLONG>(&_tls_index), reinterpret_cast<ULONGLONG>(&__xl_a + 1), 0, 0};
}

namespace {
// A thread's destructors, last registered first; a thread rarely has more than a few,
// so they are kept in a fixed block and then on the heap.
struct ThreadDestructors {
  _PVFV inline_slots[16];
  _PVFV* slots = inline_slots;
  unsigned count = 0;
  unsigned capacity = 16;
};
thread_local ThreadDestructors* destructors = nullptr;

void NTAPI RunThreadDestructors(PVOID, DWORD reason, PVOID) {
  if (reason != DLL_THREAD_DETACH && reason != DLL_PROCESS_DETACH) return;
  ThreadDestructors* const own = destructors;
  if (own == nullptr) return;
  while (own->count > 0) own->slots[--own->count]();
  if (own->slots != own->inline_slots) HeapFree(GetProcessHeap(), 0, own->slots);
  HeapFree(GetProcessHeap(), 0, own);
  destructors = nullptr;
}
}  // namespace

extern "C" {
// Whether this thread has run the initialisers; the compiler tests it before each use
// of a thread_local object and calls __dyn_tls_on_demand_init while it is false.
__declspec(thread) bool __tls_guard = false;

void NTAPI __dyn_tls_init(PVOID, DWORD reason, PVOID) noexcept {
  if (reason != DLL_THREAD_ATTACH || __tls_guard) return;
  __tls_guard = true;
  for (_PVFV* initialiser = &__xd_a + 1; initialiser != &__xd_z; ++initialiser) {
    if (*initialiser != nullptr) (*initialiser)();
  }
}

void __cdecl __dyn_tls_on_demand_init() noexcept { __dyn_tls_init(nullptr, DLL_THREAD_ATTACH, nullptr); }

// The loader calls the callbacks listed between __xl_a and __xl_z.
extern __declspec(allocate(".CRT$XLC")) PIMAGE_TLS_CALLBACK const __dyn_tls_init_callback = __dyn_tls_init;
extern __declspec(allocate(".CRT$XLD")) PIMAGE_TLS_CALLBACK const __dyn_tls_dtor_callback = RunThreadDestructors;

// Called by the compiler when a thread_local object with a destructor is first made.
void __cdecl __tlregdtor(_PVFV destructor) {
  ThreadDestructors* own = destructors;
  if (own == nullptr) {
    void* const block = HeapAlloc(GetProcessHeap(), 0, sizeof(ThreadDestructors));
    if (block == nullptr) return;
    own = new (block) ThreadDestructors;
    destructors = own;
  }
  if (own->count == own->capacity) {
    unsigned const capacity = own->capacity * 2;
    auto* const slots = static_cast<_PVFV*>(HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(_PVFV)));
    if (slots == nullptr) return;
    for (unsigned i = 0; i < own->count; ++i) slots[i] = own->slots[i];
    if (own->slots != own->inline_slots) HeapFree(GetProcessHeap(), 0, own->slots);
    own->slots = slots;
    own->capacity = capacity;
  }
  own->slots[own->count++] = destructor;
}
}

namespace msvc_runtime {
void StartThreadLocals() noexcept { __dyn_tls_on_demand_init(); }
}  // namespace msvc_runtime
