// UTF-8 as it crosses the network: leniently read, never cut apart.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sim::rcon {

// `bytes` as valid UTF-8: each stretch that does not form a well-formed sequence
// (a stray byte, a truncated, overlong or surrogate sequence) becomes U+FFFD.
std::string ValidUtf8(std::string_view bytes);

// The largest position at or below `at` where `text` can be cut without splitting a
// sequence. Bytes that form no sequence may be cut anywhere.
std::size_t Utf8Boundary(std::string_view text, std::size_t at);

}  // namespace sim::rcon
