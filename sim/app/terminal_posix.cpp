#include "terminal.h"

#include <unistd.h>

namespace sim {

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

bool IsColourTerminal(std::FILE* stream) { return IsTerminal(stream); }

}  // namespace sim
