// What must hold after every fuzz input; a breach aborts, which the fuzzer
// reports as a crash with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kestrova::fuzz {

[[noreturn]] inline void Breach(const char* what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

inline void Require(bool holds, const char* what)
{
    if (!holds)
        Breach(what);
}

}  // namespace kestrova::fuzz
