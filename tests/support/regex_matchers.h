// Regular-expression matchers that mean the same on every platform: GoogleTest's
// own use POSIX regex on Linux but a simple syntax on Windows, without brackets,
// braces or groups.
#pragma once

#include <regex>
#include <string>

#include <gmock/gmock.h>

namespace kestrova::test {

// The whole text matches `pattern` (ECMAScript syntax).
MATCHER_P(MatchesStdRegex, pattern, "matches " + std::string(pattern))
{
    return std::regex_match(std::string(arg), std::regex(pattern));
}

// Some part of the text matches `pattern` (ECMAScript syntax).
MATCHER_P(ContainsStdRegex, pattern, "contains a match for " + std::string(pattern))
{
    return std::regex_search(std::string(arg), std::regex(pattern));
}

}  // namespace kestrova::test
