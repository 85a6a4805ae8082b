// JSON written straight to its text, for the replies and the ledger's lines: no
// tree of values is built and then dumped. The text is what the JSON library's
// ASCII dump gives for the same values, byte for byte: no blanks, every character
// beyond ASCII and DEL escaped as \uXXXX, text that is not UTF-8 replaced by
// U+FFFD one bad sequence at a time, numbers as the library writes them. Keys
// are written in the order given; the replies and the ledger's lines give them
// in byte order, as the library's objects hold them.
//
//   JsonText json;
//   json.Open().Key("command").String(name).Key("v").Int(1).Close();
//   Send(json.Text());
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kestrova {

// Bytes that stand for themselves inside a JSON string as it is read: not a
// quote, not a backslash, not a control character and not part of a UTF-8
// sequence.
constexpr bool IsPlainJsonByte(unsigned char byte) { return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\'; }

// Whether the 8 bytes at `p` are all plain, and with `escapeDel` none is DEL,
// tested at once: most of a line is the text of its strings.
inline bool EightPlainJsonBytes(const char* p, bool escapeDel = false)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    // A byte is zero in `x` exactly where (x - 1) borrows into its high bit.
    const auto anyZeroByte = [](std::uint64_t x) { return (x - kOnes) & ~x & kHighBits; };
    const std::uint64_t special = anyZeroByte(word ^ (kOnes * '"')) | anyZeroByte(word ^ (kOnes * '\\')) |
                                  ((word - kOnes * 0x20) & ~word & kHighBits) | (word & kHighBits) |
                                  (escapeDel ? anyZeroByte(word ^ (kOnes * 0x7F)) : 0);
    return special == 0;
}

// The UTF-8 sequence that `text` (not empty) starts with. Well formed: its length
// and code point (no overlong form, no surrogate, nothing beyond U+10FFFF).
// Otherwise `length` is how far it could be read as the start of one, at least 1:
// the bytes one U+FFFD stands for.
struct Utf8Sequence {
    bool wellFormed = false;
    std::size_t length = 1;
    char32_t codePoint = 0;
};
Utf8Sequence FirstUtf8Sequence(std::string_view text);

class JsonText {
public:
    // Room for a reply or a ledger line of a spawn, so that it is not moved as it grows.
    JsonText() { text_.reserve(512); }

    JsonText& Open();
    JsonText& Close();
    JsonText& OpenList();
    JsonText& CloseList();
    // One of the writers' own names: ASCII that needs no escape, written as it is.
    JsonText& Key(std::string_view key);

    JsonText& String(std::string_view text);
    JsonText& Int(std::int64_t value);
    JsonText& Number(double value);  // NaN and the infinities as null
    JsonText& Bool(bool value);
    JsonText& Null();
    // The text, or null when there is none.
    JsonText& StringOrNull(const std::optional<std::string>& text) { return text ? String(*text) : Null(); }
    // A value that is JSON text already, written as the same rules write it.
    JsonText& Raw(std::string_view json);

    const std::string& Text() const { return text_; }
    std::string Take() { return std::move(text_); }

private:
    JsonText& Begin(char bracket);
    JsonText& End(char bracket);
    // The comma a value or key needs when it follows another.
    void Separate();

    std::string text_;
    bool afterValue_ = false;
};

}  // namespace kestrova
