// Small text helpers the commands share: quote removal, ASCII upper-casing, and
// case-insensitive replace and suffix test on game text.
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// The text with every '"' removed.
std::string WithoutQuotes(std::string text);

// ASCII letters a to z upper-cased; every other unit as it is.
std::u16string ToUpperAscii(std::u16string_view text);

// Every occurrence of `from`, compared ignoring ASCII case, replaced by `to`,
// scanning left to right; replaced text is not scanned again.
std::u16string ReplaceIgnoringCase(std::u16string_view text, std::u16string_view from, std::u16string_view to);

// Every occurrence of `what`, compared ignoring ASCII case, removed.
std::u16string RemoveIgnoringCase(std::u16string_view text, std::u16string_view what);

// True when `text` ends with `suffix`, compared ignoring ASCII case.
bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view suffix);

}  // namespace kestrova
