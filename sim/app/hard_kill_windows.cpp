#include "hard_kill.h"

#include <cstdlib>

#include <windows.h>

namespace sim {

// The status a killed process reports on POSIX, so that tests read both alike.
constexpr UINT kKilledStatus = 137;

void KillThisProcess()
{
    TerminateProcess(GetCurrentProcess(), kKilledStatus);
    std::_Exit(static_cast<int>(kKilledStatus));  // not reached: termination does not return
}

}  // namespace sim
