#include "host/random.h"

#include <random>

namespace kestrova {

double DrawUnit()
{
    std::random_device source;
    std::mt19937 generator(source());
    const double d0 = generator();
    const double d1 = generator();
    return (d0 + d1 * 4294967296.0) / 18446744073709551616.0;
}

}  // namespace kestrova
