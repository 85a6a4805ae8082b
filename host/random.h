// Random draws for the commands' number ranges.
#pragma once

#include <string_view>

namespace kestrova {

// A fresh Mersenne Twister seeded from the platform's non-deterministic source,
// two 32-bit outputs d0 and d1, and u = (d0 + d1 * 2^32) / 2^64 in double
// precision, so 0 <= u <= 1.
double DrawUnit();

// A number as `read` converts `text`, or, for "lo-hi" (split at the first '-'),
// lo + u * (hi - lo) in double precision: 3-7 runs from 3 up to 7, 7-3 from 7
// down to 3. Without `u` it is drawn with DrawUnit, on every call, range or not.
template <typename Read>
double NumberOrRange(std::string_view text, Read read, double u)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return read(text);
    const double lo = read(text.substr(0, dash));
    const double hi = read(text.substr(dash + 1));
    return lo + u * (hi - lo);
}

template <typename Read>
double NumberOrRange(std::string_view text, Read read)
{
    return NumberOrRange(text, read, DrawUnit());
}

}  // namespace kestrova
