#include "host/words.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kestrova {
namespace {

// The C locale's white space, whatever locale the server runs in.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view SkipSpace(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

// Removes one leading sign; true when it was '-'.
bool TakeSign(std::string_view& text)
{
    if (text.empty() || (text.front() != '+' && text.front() != '-'))
        return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 170000
// libc++ before 17 has no floating-point from_chars. The C library's strtof in the C
// locale reads the same forms, "0x" included, rounds correctly too, and reports
// overflow and underflow as ERANGE.
std::from_chars_result ReadUnsignedFloat(std::string_view text, float& value)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const char* first = text.data();
    // strtof would also skip white space.
    if (text.empty() || text.front() == '+' || text.front() == '-' || IsSpace(text.front()))
        return {first, std::errc::invalid_argument};
    const std::string terminated(text);
    char* end = nullptr;
    errno = 0;
    const float read = strtof_l(terminated.c_str(), &end, cLocale);
    const char* stop = first + (end - terminated.c_str());
    if (stop == first)
        return {first, std::errc::invalid_argument};
    if (errno == ERANGE)
        return {stop, std::errc::result_out_of_range};
    value = read;
    return {stop, std::errc{}};
}
#else
bool StartsHex(std::string_view text) { return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

// The longest unsigned number at the start of `text`. from_chars reads no leading
// '+' and no "0x", so both are dealt with here; "0x" without hex digits after it
// reads as the number 0, as strtof has it.
std::from_chars_result ReadUnsignedFloat(std::string_view text, float& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return {first, std::errc::invalid_argument};
    if (StartsHex(text)) {
        const auto hex = std::from_chars(first + 2, last, value, std::chars_format::hex);
        if (hex.ec != std::errc::invalid_argument)
            return hex;
    }
    return std::from_chars(first, last, value, std::chars_format::general);
}
#endif

}  // namespace

TArray<FString> SplitWords(const FString& line) { return SplitOn(line, WTEXT(" ")); }

TArray<FString> SplitOn(const FString& text, const WIDECHAR* delimiter)
{
    // Room for every piece first, so the list is allocated once rather than grown.
    const FString::WideView view = text.View();
    const FString::WideView delim(delimiter);
    int32 pieces = 1;
    if (!delim.empty())
        for (std::size_t at = view.find(delim); at != view.npos; at = view.find(delim, at + delim.size()))
            ++pieces;
    TArray<FString> words;
    if (!view.empty())
        words.Reserve(pieces);
    text.ParseIntoArray(words, delimiter, true);
    return words;
}

CommandWords::CommandWords(FString::WideView line)
{
    std::size_t count = 0;
    ForEachPiece(line, WTEXT(' '), [&](FString::WideView) { ++count; });
    words_.reserve(count);
    ForEachPiece(line, WTEXT(' '), [&](FString::WideView word) { words_.push_back(word); });
}

CommandWords::CommandWords(const TArray<FString>& words)
{
    words_.reserve(static_cast<std::size_t>(words.Num()));
    for (const FString& word : words)
        words_.push_back(word.View());
}

bool IsNumeric(FString::WideView text)
{
    if (text.empty())
        return false;
    if (text.front() == WTEXT('+') || text.front() == WTEXT('-'))
        text.remove_prefix(1);
    bool seenPoint = false;
    for (const WIDECHAR unit : text) {
        if (unit == WTEXT('.')) {
            if (seenPoint)
                return false;
            seenPoint = true;
        } else if (std::iswdigit(static_cast<std::wint_t>(unit)) == 0) {
            return false;
        }
    }
    return true;
}

std::string ToNarrow(FString::WideView text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (const WIDECHAR unit : text)
        narrow.push_back(unit < 128 ? static_cast<char>(unit) : '?');
    return narrow;
}

// Hand-written rather than strtol: long is 64 bits here and 32 on the server, and
// the range check must come out the same on both.
std::int32_t ToInt(std::string_view text)
{
    constexpr std::int64_t kMinMagnitude = 2147483648;  // |INT32_MIN|
    text = SkipSpace(text);
    const bool negative = TakeSign(text);

    std::int64_t magnitude = 0;
    bool anyDigit = false;
    bool tooLarge = false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        anyDigit = true;
        if (!tooLarge) {
            magnitude = magnitude * 10 + (c - '0');
            tooLarge = magnitude > kMinMagnitude;
        }
    }
    if (!anyDigit)
        throw std::invalid_argument("invalid stoi argument");
    if (tooLarge || (!negative && magnitude == kMinMagnitude))
        throw std::out_of_range("stoi argument out of range");
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// from_chars rounds correctly and ignores the locale. It reports a number that
// rounds to zero or to infinity but not one that lands among the subnormals;
// those count as underflow here too, so every platform gives the same answer.
float ToFloat(std::string_view text)
{
    text = SkipSpace(text);
    const bool negative = TakeSign(text);

    float value = 0.0f;
    const auto read = ReadUnsignedFloat(text, value);
    if (read.ec == std::errc::invalid_argument)
        throw std::invalid_argument("invalid stof argument");
    if (read.ec == std::errc::result_out_of_range || std::fpclassify(value) == FP_SUBNORMAL)
        throw std::out_of_range("stof argument out of range");
    return negative ? -value : value;
}

std::int32_t SaturatedInt(double value)
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value))
        return 0;
    if (value <= lowest)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= highest)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

bool IsCommandName(const char* registered, FString::WideView typed)
{
    const FString name(registered);
    return name.View().size() == typed.size() &&
           FGenericPlatformStricmp::Strnicmp(name.View().data(), typed.data(), typed.size()) == 0;
}

}  // namespace kestrova
