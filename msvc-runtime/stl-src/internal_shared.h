// The part of Microsoft's runtime-internal header that the standard library's own
// sources use here: a buffer on the C runtime's heap, freed when it goes out of scope.
#pragma once
#include <stdlib.h>

#include <memory>

struct __crt_free_deleter {
  void operator()(void* const block) const noexcept { free(block); }
};
template <typename T>
using __crt_unique_heap_ptr = std::unique_ptr<T, __crt_free_deleter>;

#define _malloc_crt_t(T, count) __crt_unique_heap_ptr<T>(static_cast<T*>(malloc(sizeof(T) * (count))))
