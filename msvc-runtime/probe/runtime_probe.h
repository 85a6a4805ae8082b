// A DLL that exercises, from a second module, what the runtime pieces provide: the
// tests in msvc_runtime_test.cpp call it.
#pragma once
#include <string>

#ifdef KESTROVA_BUILDING_RUNTIME_PROBE
#define KESTROVA_PROBE_API __declspec(dllexport)
#else
#define KESTROVA_PROBE_API __declspec(dllimport)
#endif

namespace probe {
// Throws std::runtime_error with this message.
KESTROVA_PROBE_API void Throw(const std::string& message);
// Touches a thread_local object of the DLL whose destructor counts.
KESTROVA_PROBE_API void TouchThreadLocal();
KESTROVA_PROBE_API int ThreadLocalsDestroyed();
// A function-local static whose constructor is slow; returns its address and how many
// times it was constructed.
KESTROVA_PROBE_API const void* SlowStatic();
KESTROVA_PROBE_API int SlowStaticsConstructed();
// Sums a local array of this many bytes (over a 4 KB page each), filled with ones.
KESTROVA_PROBE_API int SumOfLargeFrame();
}  // namespace probe
