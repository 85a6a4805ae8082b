#include "rcon/utf8.h"

namespace sim::rcon {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// How many bytes the sequence that `lead` begins has, 0 for a byte that begins none.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The range of the second byte, narrower than 80..BF after some leads: this rules out
// overlong forms, surrogates and code points above U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second)
{
    switch (lead) {
    case 0xE0: return second >= 0xA0 && second <= 0xBF;
    case 0xED: return second >= 0x80 && second <= 0x9F;
    case 0xF0: return second >= 0x90 && second <= 0xBF;
    case 0xF4: return second >= 0x80 && second <= 0x8F;
    default: return IsContinuation(second);
    }
}

// How many bytes from `text` form a well-formed sequence (0 if none does), and how many
// to skip when they do not: the longest start of a sequence, at least one byte.
std::size_t WellFormed(std::string_view text, std::size_t& skip)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t length = SequenceLength(byte(0));
    skip = 1;
    if (length == 0)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= text.size())
            return 0;
        const bool fits = i == 1 ? SecondByteFits(byte(0), byte(1)) : IsContinuation(byte(i));
        if (!fits)
            return 0;
        skip = i + 1;
    }
    return length;
}

}  // namespace

std::string ValidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        std::size_t skip = 1;
        if (const std::size_t length = WellFormed(bytes, skip); length > 0) {
            out.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        } else {
            out.append(kReplacement);
            bytes.remove_prefix(skip);
        }
    }
    return out;
}

std::size_t Utf8Boundary(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return text.size();
    // Look back from `at` over up to three continuation bytes for the lead byte of
    // the sequence that `at` falls in; cut before that sequence if `at` is inside it.
    for (std::size_t lead = at, steps = 0; steps <= 3; --lead, ++steps) {
        const auto byte = static_cast<unsigned char>(text[lead]);
        if (!IsContinuation(byte))
            return lead < at && SequenceLength(byte) > at - lead ? lead : at;
        if (lead == 0)
            break;
    }
    return at;
}

}  // namespace sim::rcon
