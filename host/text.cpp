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

}  // namespace kestrova
