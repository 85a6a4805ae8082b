#include "host/random.h"

#include <random>

namespace kestrova {
namespace {

// MT19937's parameters as std::mt19937 has them, in 32-bit words: its own type
// may be wider, and then its arithmetic is masked to 32 bits.
using Mt = std::mt19937;
using Word = std::uint32_t;
using Words = std::array<Word, kSeedBlock>;
constexpr Word Param(Mt::result_type value) { return static_cast<Word>(value); }
constexpr Word kMultiplier = Param(Mt::initialization_multiplier);
constexpr Word kMatrix = Param(Mt::xor_mask);
constexpr Word kUpperMask = ~Word{0} << Mt::mask_bits;
constexpr Word kMiddle = static_cast<Word>(Mt::shift_size);  // m: word i's twist takes word i + m
static_assert(Mt::word_size == 32);

// The standard initialisation's step from state word i - 1 to word i, for every
// seed at once: the loop has no branch, so the compiler makes it vector code.
void NextStateWords(Words& words, Word i)
{
    for (Word& word : words)
        word = kMultiplier * (word ^ (word >> 30)) + i;
}

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

UnitBlock UnitsFromSeeds(const SeedBlock& seeds)
{
    // Each state word is made from the one before it; words 0, 1, 2, m and m + 1
    // are kept.
    const Words word0 = seeds;
    Words word = seeds;
    NextStateWords(word, 1);
    const Words word1 = word;
    NextStateWords(word, 2);
    const Words word2 = word;
    for (Word i = 3; i <= kMiddle; ++i)
        NextStateWords(word, i);
    const Words middle = word;
    NextStateWords(word, kMiddle + 1);

    UnitBlock units{};
    for (std::size_t n = 0; n < kSeedBlock; ++n) {
        const Word d0 = Tempered(Twisted(word0[n], word1[n], middle[n]));
        const Word d1 = Tempered(Twisted(word1[n], word2[n], word[n]));
        // The outputs are 32 bits wide, so a double holds them exactly.
        units[n] = (static_cast<double>(d0) + static_cast<double>(d1) * 4294967296.0) / 18446744073709551616.0;
    }
    return units;
}

double UnitDraws::Next()
{
    if (next_ == kSeedBlock) {
        SeedBlock seeds;
        fill_(seeds);
        units_ = UnitsFromSeeds(seeds);
        next_ = 0;
    }
    return units_[next_++];
}

double DrawUnit()
{
    // One per thread, so that no two threads share a seed and none waits for another.
    thread_local UnitDraws draws(SystemSeeds);
    return draws.Next();
}

}  // namespace kestrova
