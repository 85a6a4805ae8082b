#include "host/random.h"

#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace kestrova {

// getentropy reads the kernel's generator (getrandom on Linux) without a file to
// open, and blocks only until that generator is first seeded at boot. It gives at
// most 256 bytes a call.
static_assert(sizeof(SeedBlock) <= 256);

void SystemSeeds(SeedBlock& seeds)
{
    if (getentropy(seeds.data(), sizeof seeds) != 0)
        throw std::system_error(errno, std::generic_category(), "getentropy");
}

}  // namespace kestrova
