// The layouts that cross a module boundary, pinned to the sizes Microsoft documents
// for x64: a module built here and one built with Visual Studio must agree on each
// (the framework hands the plugin strings, vectors, shared pointers and functions).
#include <wchar.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

static_assert(sizeof(std::exception) == 24, "a vtable and __std_exception_data");
static_assert(sizeof(type_info) == 24, "a vtable, the undecorated name and the decorated name");
static_assert(sizeof(mbstate_t) == 8, "_Mbstatet: a wide character and two shorts");
static_assert(sizeof(std::string) == 32 && alignof(std::string) == 8, "a 16-byte buffer or pointer, size, capacity");
static_assert(sizeof(std::function<void()>) == 64, "six pointers' room for a small callable, and the callable");
static_assert(sizeof(std::shared_ptr<int>) == 16, "the object and its control block");
static_assert(sizeof(std::vector<int>) == 24, "first, last and end of storage");
