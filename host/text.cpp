#include "host/text.h"

#include <algorithm>

#include "FString.h"

namespace kestrova {
namespace {

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && FGenericPlatformStricmp::Strnicmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

std::string WithoutQuotes(std::string text)
{
    std::erase(text, '"');
    return text;
}

std::u16string ToUpperAscii(std::u16string_view text)
{
    std::u16string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; });
    return upper;
}

std::u16string ReplaceIgnoringCase(std::u16string_view text, std::u16string_view from, std::u16string_view to)
{
    if (from.empty())
        return std::u16string(text);
    std::u16string result;
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

std::u16string RemoveIgnoringCase(std::u16string_view text, std::u16string_view what)
{
    return ReplaceIgnoringCase(text, what, u"");
}

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view suffix)
{
    return text.size() >= suffix.size() && SameIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace kestrova
