// Small text helpers the commands share: quote removal, ASCII upper-casing, and
// case-insensitive replace and suffix test on game text.
#pragma once

#include <string>
#include <string_view>

#include "FString.h"

namespace kestrova {

// Game text outside a game string.
using WideString = std::basic_string<WIDECHAR>;
using WideView = std::basic_string_view<WIDECHAR>;

// The text with every '"' removed.
std::string WithoutQuotes(std::string text);

// UTF-16 game text as UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(WideView text);

// ASCII letters a to z upper-cased; every other unit as it is.
WideString ToUpperAscii(WideView text);

// Every occurrence of `from`, compared ignoring ASCII case, replaced by `to`,
// scanning left to right; replaced text is not scanned again.
WideString ReplaceIgnoringCase(WideView text, WideView from, WideView to);

// Every occurrence of `what`, compared ignoring ASCII case, removed.
WideString RemoveIgnoringCase(WideView text, WideView what);

// True when `text` ends with `suffix`, compared ignoring ASCII case.
bool EndsWithIgnoringCase(WideView text, WideView suffix);

}  // namespace kestrova
