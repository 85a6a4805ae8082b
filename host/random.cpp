#include "host/random.h"

#include <random>

namespace kestrova {

double DrawUnit()
{
    std::random_device source;
    std::mt19937 generator(source());
    // The generator's outputs are 32 bits wide, so a double holds them exactly.
    const auto d0 = static_cast<double>(generator());
    const auto d1 = static_cast<double>(generator());
    return (d0 + d1 * 4294967296.0) / 18446744073709551616.0;
}

}  // namespace kestrova
