// The word functions the commands share: splitting a command line into words,
// the numeric test, the narrow conversion, and the integer and float conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FString.h"

namespace kestrova {

// The line split at blanks; runs of blanks, and leading and trailing ones, give no
// empty words.
TArray<FString> SplitWords(const FString& line);

// The text split at every `delimiter` (such as WTEXT(",") or WTEXT("-")), empty pieces dropped.
TArray<FString> SplitOn(const FString& text, const WIDECHAR* delimiter);

// A command line's words as views into the line, which must outlive them: the
// words SplitWords gives, without a game string for each. The commands only read
// their words and never hand one to the game, so they need no game storage.
class CommandWords {
public:
    explicit CommandWords(FString::WideView line);
    // Views of words split already, such as the checker's.
    explicit CommandWords(const TArray<FString>& words);

    int32 Num() const { return static_cast<int32>(words_.size()); }
    FString::WideView operator[](int32 index) const { return words_[static_cast<std::size_t>(index)]; }

private:
    std::vector<FString::WideView> words_;
};

// Not empty; one optional leading '+' or '-', then only units that iswdigit
// accepts, with at most one '.'. A lone sign passes.
bool IsNumeric(FString::WideView word);
inline bool IsNumeric(const FString& word) { return IsNumeric(word.View()); }

// Whether a typed command name names the command registered as `registered`: the
// host compares names ignoring ASCII case.
bool IsCommandName(const char* registered, FString::WideView typed);

// One byte per UTF-16 unit: a unit below 128 stays, any other becomes '?'.
std::string ToNarrow(FString::WideView text);
inline std::string ToNarrow(const FString& text) { return ToNarrow(text.View()); }

// Calls `piece` for each piece of `text` between `delimiter`s, in order, empty
// pieces dropped: the pieces SplitOn would give, without making them.
template <typename Piece>
void ForEachPiece(FString::WideView text, WIDECHAR delimiter, Piece piece)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(delimiter, start);
        if (end == FString::WideView::npos)
            end = text.size();
        if (end > start)
            piece(text.substr(start, end - start));
        start = end + 1;
    }
}

// Decimal text to a signed 32-bit integer, as the server's std::stoi reads it:
// leading white space, an optional sign and the longest run of digits; the rest is
// ignored. Throws std::invalid_argument("invalid stoi argument") when no digit is
// read and std::out_of_range("stoi argument out of range") outside 32 bits.
std::int32_t ToInt(std::string_view text);

// Text to a 32-bit float, as the server's std::stof reads it: leading white space,
// then the longest leading number (decimal with optional exponent, hexadecimal
// "0x...", "inf", "infinity" or "nan" in any case), correctly rounded. Throws
// std::invalid_argument("invalid stof argument") when nothing is read and
// std::out_of_range("stof argument out of range") when a finite number overflows,
// or when a non-zero number comes out as zero or subnormal.
float ToFloat(std::string_view text);

// Truncated toward zero into the signed 32-bit range: a value beyond it takes the
// nearest end, NaN gives 0, instead of the undefined result of a plain cast.
std::int32_t SaturatedInt(double value);

}  // namespace kestrova
