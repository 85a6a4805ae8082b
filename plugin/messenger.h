// Text shown to a player through the host's messenger.
#pragma once

#include <string>

#include "AsaApi.h"

namespace kestrova {

struct Colour {
    float r, g, b, a;
};

inline constexpr Colour kGreen{0.0f, 1.0f, 0.0f, 1.0f};
inline constexpr Colour kRed{1.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Colour kWhite{1.0f, 1.0f, 1.0f, 1.0f};

// Shows `text` to the player in `colour`; the messenger is fetched for this one message.
void SendToPlayer(APlayerController* player, Colour colour, const std::string& text);

}  // namespace kestrova
