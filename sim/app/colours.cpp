#include "colours.h"

#include <fmt/format.h>

namespace sim {

Colour NearestColour(float r, float g, float b)
{
    static constexpr Colour kColours[] = {
        {"black", 30}, {"red", 31},     {"green", 32}, {"yellow", 33},
        {"blue", 34},  {"magenta", 35}, {"cyan", 36},  {"white", 37},
    };
    const int index = (r >= 0.5f ? 1 : 0) | (g >= 0.5f ? 2 : 0) | (b >= 0.5f ? 4 : 0);
    return kColours[index];
}

std::string Paint(std::string_view text, Colour colour) { return fmt::format("\x1b[{}m{}\x1b[0m", colour.ansi, text); }

}  // namespace sim
