#include "host/random.h"

#include <system_error>

#include <windows.h>

#include <bcrypt.h>  // after windows.h, whose types it uses

namespace kestrova {

// The system's preferred generator, without an algorithm handle to open or keep.
std::uint32_t SystemSeed()
{
    std::uint32_t seed = 0;
    const NTSTATUS status = BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&seed), static_cast<ULONG>(sizeof seed),
                                            BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    if (!BCRYPT_SUCCESS(status))
        throw std::system_error(static_cast<int>(status), std::system_category(), "BCryptGenRandom");
    return seed;
}

}  // namespace kestrova
