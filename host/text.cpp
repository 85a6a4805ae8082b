#include "host/text.h"

#include <algorithm>

#include "FString.h"

namespace kestrova {
namespace {

bool SameIgnoringCase(WideView a, WideView b)
{
    return a.size() == b.size() && FGenericPlatformStricmp::Strnicmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

std::string WithoutQuotes(std::string text)
{
    std::erase(text, '"');
    return text;
}

WideString ToUpperAscii(WideView text)
{
    WideString upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](WIDECHAR c) { return (c >= WTEXT('a') && c <= WTEXT('z')) ? static_cast<WIDECHAR>(c - 32) : c; });
    return upper;
}

WideString ReplaceIgnoringCase(WideView text, WideView from, WideView to)
{
    if (from.empty())
        return WideString(text);
    WideString result;
    result.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.size() - at >= from.size() && SameIgnoringCase(text.substr(at, from.size()), from)) {
            result += to;
            at += from.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}

WideString RemoveIgnoringCase(WideView text, WideView what)
{
    return ReplaceIgnoringCase(text, what, WTEXT(""));
}

bool EndsWithIgnoringCase(WideView text, WideView suffix)
{
    return text.size() >= suffix.size() && SameIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string ToUtf8(WideView text)
{
    std::string utf8;
    utf8.reserve(text.size());
    const auto put = [&](char32_t c) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            put(0xFFFD);
        } else {
            put(unit);
        }
    }
    return utf8;
}

}  // namespace kestrova
