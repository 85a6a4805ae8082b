// Whether a standard stream is a terminal that shows colour escapes.
#pragma once

#include <cstdio>

namespace sim {

// True when `stream` is a terminal; on Windows this also switches the console
// to interpret ANSI colour escapes.
bool IsColourTerminal(std::FILE* stream);

// True when `stream` is a terminal (for input: whether someone types).
bool IsTerminal(std::FILE* stream);

}  // namespace sim
