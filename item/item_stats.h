// Item stat values written from the values a command asks for.
#pragma once

#include <array>
#include <vector>

#include "AsaApi.h"

namespace kestrova {

// Values for item stats 1, 2, 3, 5 and 7, in that order.
using ItemStatSlots = std::array<float, 5>;

// Writes each positive value into every item that uses that stat, and tells each
// item that received a value that it changed.
void ApplyItemStats(const std::vector<UPrimalItem*>& items, float stat1, float stat2, float stat3, float stat5,
                    float stat7);

// The stored value for a stat whose record has the given base and factors.
std::uint16_t ItemStatValue(int statIndex, float value, float base, float a, float b);

}  // namespace kestrova
