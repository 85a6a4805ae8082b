#include "ledger/ledger_line.h"

#include <nlohmann/json.hpp>

#include "host/json_text.h"

namespace kestrova {
namespace {

// Nesting deeper than this is taken as damage rather than risking the stack.
constexpr int kMaxDepth = 256;

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A validating reader of one JSON text that hands the members it is asked about
// to the caller and steps over everything else.
class Scanner {
public:
    explicit Scanner(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    // The text is one object and nothing else; `member(key, keyEscaped)` is
    // called at each top-level member's value and must consume it.
    template <typename OnMember>
    bool WholeObject(OnMember member)
    {
        SkipSpace();
        if (!At('{') || !Object(1, member))
            return false;
        SkipSpace();
        return p_ == end_;
    }

    bool At(char c) const { return p_ != end_ && *p_ == c; }

    // A string's raw text between its quotes; `escaped` tells whether it holds
    // escapes, and so differs from its value.
    bool String(std::string_view& raw, bool& escaped)
    {
        if (!At('"'))
            return false;
        const char* start = ++p_;
        escaped = false;
        for (;;) {
            while (end_ - p_ >= 8 && EightPlainJsonBytes(p_))
                p_ += 8;
            while (p_ != end_ && IsPlainJsonByte(static_cast<unsigned char>(*p_)))
                ++p_;
            if (p_ == end_)
                return false;
            const auto byte = static_cast<unsigned char>(*p_);
            if (byte == '"') {
                raw = std::string_view(start, static_cast<std::size_t>(p_ - start));
                ++p_;
                return true;
            }
            if (byte == '\\') {
                escaped = true;
                if (!Escape())
                    return false;
            } else if (byte >= 0x80) {
                const Utf8Sequence sequence = FirstUtf8Sequence(std::string_view(p_, static_cast<std::size_t>(end_ - p_)));
                if (!sequence.wellFormed)
                    return false;
                p_ += sequence.length;
            } else {
                return false;  // a control character
            }
        }
    }

    template <typename OnMember>
    bool Object(int depth, OnMember member)
    {
        if (depth > kMaxDepth)
            return false;
        ++p_;  // '{'
        SkipSpace();
        if (Take('}'))
            return true;
        for (;;) {
            std::string_view key;
            bool escaped = false;
            if (!String(key, escaped))
                return false;
            SkipSpace();
            if (!Take(':'))
                return false;
            SkipSpace();
            if (!member(key, escaped))
                return false;
            SkipSpace();
            if (Take(','))
                SkipSpace();
            else
                return Take('}');
        }
    }

    // Any value, stepped over.
    bool Value(int depth)
    {
        if (p_ == end_)
            return false;
        switch (*p_) {
        case '{':
            return Object(depth + 1, [this, depth](std::string_view, bool) { return Value(depth + 1); });
        case '[':
            return Array(depth + 1);
        case '"': {
            std::string_view raw;
            bool escaped = false;
            return String(raw, escaped);
        }
        case 't':
            return Word("true");
        case 'f':
            return Word("false");
        case 'n':
            return Word("null");
        default:
            return Number();
        }
    }

    // Ledger lines hold no space between their tokens, so the test for none is
    // kept small enough to be inlined everywhere.
    void SkipSpace()
    {
        if (p_ != end_ && IsSpace(*p_))
            SkipMoreSpace();
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void SkipMoreSpace()
    {
        while (p_ != end_ && IsSpace(*p_))
            ++p_;
    }

    bool Take(char c)
    {
        if (!At(c))
            return false;
        ++p_;
        return true;
    }

    bool Array(int depth)
    {
        if (depth > kMaxDepth)
            return false;
        ++p_;  // '['
        SkipSpace();
        if (Take(']'))
            return true;
        for (;;) {
            if (!Value(depth))
                return false;
            SkipSpace();
            if (Take(','))
                SkipSpace();
            else
                return Take(']');
        }
    }

    bool Word(std::string_view word)
    {
        if (static_cast<std::size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word)
            return false;
        p_ += word.size();
        return true;
    }

    bool Digits()
    {
        const char* start = p_;
        while (p_ != end_ && IsDigit(*p_))
            ++p_;
        return p_ != start;
    }

    bool Number()
    {
        Take('-');
        if (Take('0')) {
            // no leading zeros
        } else if (!Digits()) {
            return false;
        }
        if (Take('.') && !Digits())
            return false;
        if (Take('e') || Take('E')) {
            if (!Take('+'))
                Take('-');
            if (!Digits())
                return false;
        }
        return true;
    }

    // Four hex digits after "\u", as a number.
    bool Hex4(unsigned& value)
    {
        if (end_ - p_ < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i, ++p_) {
            if (!IsHexDigit(*p_))
                return false;
            const char c = *p_;
            const unsigned digit = c <= '9'   ? static_cast<unsigned>(c - '0')
                                   : c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
                                              : static_cast<unsigned>(c - 'a' + 10);
            value = value * 16 + digit;
        }
        return true;
    }

    // At a backslash. A UTF-16 surrogate must come as a high one escaped
    // right before a low one, as a parse requires.
    bool Escape()
    {
        ++p_;
        if (p_ == end_)
            return false;
        const char c = *p_++;
        switch (c) {
        case '"':
        case '\\':
        case '/':
        case 'b':
        case 'f':
        case 'n':
        case 'r':
        case 't':
            return true;
        case 'u':
            break;
        default:
            return false;
        }
        unsigned unit = 0;
        if (!Hex4(unit))
            return false;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return false;
        if (unit < 0xD800 || unit > 0xDBFF)
            return true;
        unsigned low = 0;
        return Take('\\') && Take('u') && Hex4(low) && low >= 0xDC00 && low <= 0xDFFF;
    }

    const char* p_;
    const char* end_;
};

// A member's value kept when it is a string; `unescape` is set when its raw
// text differs from its value.
bool TakeField(Scanner& scanner, LedgerLineFields::Field& field, bool& unescape)
{
    if (!scanner.At('"')) {
        field = {LedgerLineFields::Kind::NotText, {}};
        return scanner.Value(1);
    }
    bool escaped = false;
    field.kind = LedgerLineFields::Kind::Text;
    if (!scanner.String(field.text, escaped))
        return false;
    unescape = unescape || escaped;
    return true;
}

// The slow road, for a line whose keys or fields hold escapes: the whole value,
// parsed, gives the fields their unescaped texts.
bool ParseFields(std::string_view line, LedgerLineFields& fields)
{
    const nlohmann::json value = nlohmann::json::parse(line, nullptr, false);
    if (!value.is_object())
        return false;
    auto take = [](const nlohmann::json& object, const char* key, LedgerLineFields::Field& field,
                   std::string& storage) {
        const auto found = object.find(key);
        if (found == object.end()) {
            field = {};
        } else if (!found->is_string()) {
            field = {LedgerLineFields::Kind::NotText, {}};
        } else {
            storage = found->get<std::string>();
            field = {LedgerLineFields::Kind::Text, storage};
        }
    };
    take(value, "order", fields.order, fields.decoded[0]);
    take(value, "event", fields.event, fields.decoded[1]);
    take(value, "decision", fields.decision, fields.decoded[3]);
    fields.result = {};
    if (const auto outcome = value.find("outcome"); outcome != value.end() && outcome->is_object())
        take(*outcome, "result", fields.result, fields.decoded[2]);
    return true;
}

}  // namespace

bool ScanLedgerLine(std::string_view line, LedgerLineFields& fields)
{
    fields.order = fields.event = fields.result = fields.decision = {};
    bool unescape = false;
    Scanner scanner(line);
    const bool isObject = scanner.WholeObject([&](std::string_view key, bool keyEscaped) {
        unescape = unescape || keyEscaped;
        if (key == "order")
            return TakeField(scanner, fields.order, unescape);
        if (key == "event")
            return TakeField(scanner, fields.event, unescape);
        if (key == "decision")
            return TakeField(scanner, fields.decision, unescape);
        if (key == "outcome") {
            fields.result = {};
            if (!scanner.At('{'))
                return scanner.Value(1);
            return scanner.Object(2, [&](std::string_view innerKey, bool innerEscaped) {
                unescape = unescape || innerEscaped;
                if (innerKey == "result")
                    return TakeField(scanner, fields.result, unescape);
                return scanner.Value(2);
            });
        }
        return scanner.Value(1);
    });
    if (!isObject)
        return false;
    return !unescape || ParseFields(line, fields);
}

}  // namespace kestrova
