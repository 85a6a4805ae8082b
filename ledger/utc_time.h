// The ledger's time stamps: UTC with milliseconds, as "2026-12-08T16:20:01.123Z".
#pragma once

#include <chrono>
#include <string>

namespace kestrova {

std::string UtcTimeText(std::chrono::system_clock::time_point time);

}  // namespace kestrova
