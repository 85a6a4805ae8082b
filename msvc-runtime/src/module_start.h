// What each module's entry point runs around its own code: the C and C++ initialisers
// the compiler lists in the .CRT$XI and .CRT$XC sections, and the module's own table
// of functions for atexit to run when it ends.
#pragma once

namespace msvc_runtime {
// Runs the module's initialisers; false if one of the C ones failed.
bool StartModule() noexcept;
// Runs the dynamic initialisers of thread_local objects for the calling thread: the
// loader runs them for threads that start later.
void StartThreadLocals() noexcept;
// Runs what atexit registered, last first, and frees the names type_info made.
void EndModule() noexcept;
}  // namespace msvc_runtime
