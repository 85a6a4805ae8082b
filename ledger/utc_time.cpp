#include "ledger/utc_time.h"

#include <cstdio>

namespace kestrova {

std::string UtcTimeText(std::chrono::system_clock::time_point time)
{
    using namespace std::chrono;
    // The calendar types, not gmtime: they are the same on every standard library
    // and need neither a lock nor the platform's reentrant variant.
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<milliseconds>(time - day)};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

}  // namespace kestrova
