#include "host/random.h"

#include <random>

namespace kestrova {
namespace {

// MT19937's parameters as std::mt19937 has them, in 32-bit words: its own type
// may be wider, and then its arithmetic is masked to 32 bits.
using Mt = std::mt19937;
using Word = std::uint32_t;
constexpr Word Param(Mt::result_type value) { return static_cast<Word>(value); }
constexpr Word kMultiplier = Param(Mt::initialization_multiplier);
constexpr Word kMatrix = Param(Mt::xor_mask);
constexpr Word kUpperMask = ~Word{0} << Mt::mask_bits;
constexpr Word kMiddle = static_cast<Word>(Mt::shift_size);  // m: word i's twist takes word i + m
static_assert(Mt::word_size == 32);

// The first twist's new word i, from state words i, i + 1 and i + m.
Word Twisted(Word word, Word next, Word middle)
{
    const Word y = (word & kUpperMask) | (next & ~kUpperMask);
    return middle ^ (y >> 1) ^ ((y & 1u) != 0 ? kMatrix : 0u);
}

Word Tempered(Word y)
{
    y ^= (y >> Mt::tempering_u) & Param(Mt::tempering_d);
    y ^= (y << Mt::tempering_s) & Param(Mt::tempering_b);
    y ^= (y << Mt::tempering_t) & Param(Mt::tempering_c);
    return y ^ (y >> Mt::tempering_l);
}

}  // namespace

std::array<std::uint32_t, 2> FirstTwoOutputs(std::uint32_t seed)
{
    // The standard initialisation makes each state word from the one before it;
    // words 0, 1, 2, m and m + 1 are kept.
    std::array<Word, 3> first{seed, 0, 0};
    Word middle = 0;
    Word word = seed;
    for (Word i = 1; i <= kMiddle + 1; ++i) {
        word = kMultiplier * (word ^ (word >> 30)) + i;
        if (i < first.size())
            first[i] = word;
        if (i == kMiddle)
            middle = word;
    }
    return {Tempered(Twisted(first[0], first[1], middle)), Tempered(Twisted(first[1], first[2], word))};
}

double UnitFromSeed(std::uint32_t seed)
{
    const auto [d0, d1] = FirstTwoOutputs(seed);
    // The outputs are 32 bits wide, so a double holds them exactly.
    return (static_cast<double>(d0) + static_cast<double>(d1) * 4294967296.0) / 18446744073709551616.0;
}

double DrawUnit() { return UnitFromSeed(SystemSeed()); }

}  // namespace kestrova
