// Random draws for the commands' number ranges.
#pragma once

namespace kestrova {

// A fresh Mersenne Twister seeded from the platform's non-deterministic source,
// two 32-bit outputs d0 and d1, and u = (d0 + d1 * 2^32) / 2^64 in double
// precision, so 0 <= u <= 1.
double DrawUnit();

}  // namespace kestrova
