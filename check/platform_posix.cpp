#include "check/platform.h"

namespace kestrova::check {

// Arguments arrive as the terminal wrote them, UTF-8 in practice.
std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv + (argc > 0 ? 1 : 0), argv + argc}; }

void UseUtf8Output() {}

}  // namespace kestrova::check
