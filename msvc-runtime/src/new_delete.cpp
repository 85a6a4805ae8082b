// Every form of operator new and delete, over ucrtbase.dll's heap; a failed allocation
// asks the new handler and then throws, as Microsoft's do.
#include <malloc.h>
#include <stdint.h>
#include <stdlib.h>

#include <new>

extern "C" _ACRTIMP int __cdecl _callnewh(size_t size);

namespace {
void* Allocate(size_t size) {
  for (;;) {
    if (void* const block = malloc(size == 0 ? 1 : size)) return block;
    if (_callnewh(size) == 0) {
      if (size == SIZE_MAX) throw std::bad_array_new_length();
      throw std::bad_alloc();
    }
  }
}

void* AllocateAligned(size_t size, std::align_val_t alignment) {
  for (;;) {
    if (void* const block = _aligned_malloc(size == 0 ? 1 : size, static_cast<size_t>(alignment))) return block;
    if (_callnewh(size) == 0) {
      if (size == SIZE_MAX) throw std::bad_array_new_length();
      throw std::bad_alloc();
    }
  }
}
}  // namespace

void* __cdecl operator new(size_t size) { return Allocate(size); }
void* __cdecl operator new[](size_t size) { return Allocate(size); }
void* __cdecl operator new(size_t size, std::nothrow_t const&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* __cdecl operator new[](size_t size, std::nothrow_t const& tag) noexcept { return operator new(size, tag); }
void __cdecl operator delete(void* block) noexcept { free(block); }
void __cdecl operator delete[](void* block) noexcept { free(block); }
void __cdecl operator delete(void* block, std::nothrow_t const&) noexcept { free(block); }
void __cdecl operator delete[](void* block, std::nothrow_t const&) noexcept { free(block); }
void __cdecl operator delete(void* block, size_t) noexcept { free(block); }
void __cdecl operator delete[](void* block, size_t) noexcept { free(block); }

void* __cdecl operator new(size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* __cdecl operator new[](size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* __cdecl operator new(size_t size, std::align_val_t alignment, std::nothrow_t const&) noexcept {
  try {
    return AllocateAligned(size, alignment);
  } catch (...) {
    return nullptr;
  }
}
void* __cdecl operator new[](size_t size, std::align_val_t alignment, std::nothrow_t const& tag) noexcept {
  return operator new(size, alignment, tag);
}
void __cdecl operator delete(void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete[](void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete(void* block, std::align_val_t, std::nothrow_t const&) noexcept { _aligned_free(block); }
void __cdecl operator delete[](void* block, std::align_val_t, std::nothrow_t const&) noexcept { _aligned_free(block); }
void __cdecl operator delete(void* block, size_t, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete[](void* block, size_t, std::align_val_t) noexcept { _aligned_free(block); }
