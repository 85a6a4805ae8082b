#include "host/random.h"

#include <system_error>

#include <windows.h>

#include <bcrypt.h>  // after windows.h, whose types it uses

namespace kestrova {

// The system's preferred generator, without an algorithm handle to open or keep.
void SystemSeeds(SeedBlock& seeds)
{
    const NTSTATUS status = BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(seeds.data()),
                                            static_cast<ULONG>(sizeof seeds), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    if (!BCRYPT_SUCCESS(status))
        throw std::system_error(static_cast<int>(status), std::system_category(), "BCryptGenRandom");
}

}  // namespace kestrova
