#include "host/random.h"

#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace kestrova {

// getentropy reads the kernel's generator (getrandom on Linux) without a file to
// open, and blocks only until that generator is first seeded at boot.
std::uint32_t SystemSeed()
{
    std::uint32_t seed = 0;
    if (getentropy(&seed, sizeof seed) != 0)
        throw std::system_error(errno, std::generic_category(), "getentropy");
    return seed;
}

}  // namespace kestrova
