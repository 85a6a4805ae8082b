#include "host/json_text.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

namespace kestrova {
namespace {

// Bytes written as they are: plain, and not DEL, which ASCII-only text escapes.
constexpr bool IsWrittenAsIs(unsigned char byte) { return IsPlainJsonByte(byte) && byte != 0x7F; }

void AppendUnit(std::string& out, unsigned unit)
{
    constexpr char kHex[] = "0123456789abcdef";
    const char escaped[6] = {'\\', 'u', kHex[(unit >> 12) & 15], kHex[(unit >> 8) & 15], kHex[(unit >> 4) & 15],
                             kHex[unit & 15]};
    out.append(escaped, sizeof escaped);
}

void AppendAsciiEscape(std::string& out, unsigned char byte)
{
    switch (byte) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\t': out += "\\t"; return;
    case '\n': out += "\\n"; return;
    case '\f': out += "\\f"; return;
    case '\r': out += "\\r"; return;
    default: AppendUnit(out, byte);
    }
}

void AppendCodePoint(std::string& out, char32_t codePoint)
{
    if (codePoint <= 0xFFFF) {
        AppendUnit(out, codePoint);
        return;
    }
    // A UTF-16 surrogate pair.
    AppendUnit(out, 0xD7C0u + (codePoint >> 10));
    AppendUnit(out, 0xDC00u + (codePoint & 0x3FFu));
}

void AppendString(std::string& out, std::string_view text)
{
    out += '"';
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const char* const run = p;
        while (end - p >= 8 && EightPlainJsonBytes(p, true))
            p += 8;
        while (p != end && IsWrittenAsIs(static_cast<unsigned char>(*p)))
            ++p;
        out.append(run, static_cast<std::size_t>(p - run));
        if (p == end)
            break;
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x80) {
            AppendAsciiEscape(out, byte);
            ++p;
            continue;
        }
        const Utf8Sequence sequence = FirstUtf8Sequence(std::string_view(p, static_cast<std::size_t>(end - p)));
        p += sequence.length;
        AppendCodePoint(out, sequence.wellFormed ? sequence.codePoint : U'\uFFFD');
    }
    out += '"';
}

}  // namespace

Utf8Sequence FirstUtf8Sequence(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    Utf8Sequence sequence;
    // The first continuation byte's range narrows after some leads: no overlong
    // forms, no surrogates, nothing beyond U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        sequence.codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        sequence.codePoint = lead & 0x0Fu;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        sequence.codePoint = lead & 0x07u;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return sequence;  // not a lead byte
    }
    for (; sequence.length < length; ++sequence.length) {
        if (sequence.length == text.size())
            return sequence;
        const auto byte = static_cast<unsigned char>(text[sequence.length]);
        if (byte < low || byte > high)
            return sequence;
        sequence.codePoint = (sequence.codePoint << 6) | (byte & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    sequence.wellFormed = true;
    return sequence;
}

JsonText& JsonText::Open() { return Begin('{'); }
JsonText& JsonText::Close() { return End('}'); }
JsonText& JsonText::OpenList() { return Begin('['); }
JsonText& JsonText::CloseList() { return End(']'); }

JsonText& JsonText::Begin(char bracket)
{
    Separate();
    text_ += bracket;
    afterValue_ = false;
    return *this;
}

JsonText& JsonText::End(char bracket)
{
    text_ += bracket;
    afterValue_ = true;
    return *this;
}

JsonText& JsonText::Key(std::string_view key)
{
    assert(std::all_of(key.begin(), key.end(), [](char c) { return IsWrittenAsIs(static_cast<unsigned char>(c)); }));
    Separate();
    text_ += '"';
    text_ += key;
    text_ += "\":";
    afterValue_ = false;
    return *this;
}

JsonText& JsonText::String(std::string_view text)
{
    Separate();
    AppendString(text_, text);
    afterValue_ = true;
    return *this;
}

JsonText& JsonText::Int(std::int64_t value)
{
    Separate();
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, static_cast<std::size_t>(end.ptr - digits));
    afterValue_ = true;
    return *this;
}

JsonText& JsonText::Number(double value)
{
    if (!std::isfinite(value))
        return Null();
    Separate();
    // The library's own conversion (Grisu2, which is not always the shortest
    // form), so that a number reads exactly as the library's dump wrote it.
    char digits[64];
    const char* const end = nlohmann::detail::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, static_cast<std::size_t>(end - digits));
    afterValue_ = true;
    return *this;
}

JsonText& JsonText::Bool(bool value) { return Raw(value ? "true" : "false"); }

JsonText& JsonText::Null() { return Raw("null"); }

JsonText& JsonText::Raw(std::string_view json)
{
    Separate();
    text_ += json;
    afterValue_ = true;
    return *this;
}

void JsonText::Separate()
{
    if (afterValue_)
        text_ += ',';
}

}  // namespace kestrova
