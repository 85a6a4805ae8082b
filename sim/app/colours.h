// Naming and painting the colours of player messages.
#pragma once

#include <string>
#include <string_view>

namespace sim {

struct Colour {
    const char* name;  // "green"
    int ansi;          // its ANSI foreground code
};

// The nearest of the eight basic colours: a channel counts when it is at least half.
Colour NearestColour(float r, float g, float b);

// `text` wrapped in the colour's escape codes.
std::string Paint(std::string_view text, Colour colour);

}  // namespace sim
