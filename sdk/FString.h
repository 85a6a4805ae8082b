// The game's string: UTF-16 units in game-allocated storage, counted with the
// terminating NUL (0 when empty).
#pragma once

#include <string_view>

#include "TArray.h"

// The game's text unit, UTF-16: wchar_t on Windows, char16_t elsewhere. WTEXT
// makes a literal of it: WTEXT("text"), WTEXT('c').
#if defined(_WIN32)
using WIDECHAR = wchar_t;
#  define WTEXT(text) L##text
#else
using WIDECHAR = char16_t;
#  define WTEXT(text) u##text
#endif

struct FGenericPlatformStricmp {
    // Compares at most `count` units, ignoring ASCII letter case.
    static int32 Strnicmp(const WIDECHAR* a, const WIDECHAR* b, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            const WIDECHAR ca = Lower(a[i]);
            const WIDECHAR cb = Lower(b[i]);
            if (ca != cb)
                return ca < cb ? -1 : 1;
            if (ca == 0)
                return 0;
        }
        return 0;
    }

private:
    static WIDECHAR Lower(WIDECHAR c) { return (c >= WTEXT('A') && c <= WTEXT('Z')) ? static_cast<WIDECHAR>(c + 32) : c; }
};

class FString {
public:
    using WideView = std::basic_string_view<WIDECHAR>;

    FString() = default;

    // Narrow text: each byte becomes one unit.
    FString(const char* text)
    {
        const std::string_view view(text != nullptr ? text : "");
        if (view.empty())
            return;
        Reserve(static_cast<int32>(view.size()));
        for (const char c : view)
            Data.Add(static_cast<WIDECHAR>(static_cast<unsigned char>(c)));
        Terminate();
    }

    FString(const WIDECHAR* text)
    {
        const WideView view(text != nullptr ? text : WTEXT(""));
        AssignRange(view.data(), static_cast<int32>(view.size()));
    }

    FString(int32 length, const WIDECHAR* text) { AssignRange(text, length); }
    explicit FString(WideView text) { AssignRange(text.data(), static_cast<int32>(text.size())); }

    int32 Len() const { return Data.Num() > 0 ? Data.Num() - 1 : 0; }
    bool IsEmpty() const { return Len() == 0; }
    const WIDECHAR* operator*() const { return Data.Num() > 0 ? Data.GetData() : WTEXT(""); }
    WideView View() const { return {**this, static_cast<std::size_t>(Len())}; }
    TArray<WIDECHAR>& GetCharArray() { return Data; }
    const TArray<WIDECHAR>& GetCharArray() const { return Data; }

    // Replaces the text with `count` units of `text`.
    void AssignRange(const WIDECHAR* text, int32 count)
    {
        Data.Reset();
        if (count <= 0) {
            Data.Empty();
            return;
        }
        Reserve(count);
        Data.Append(text, count);
        Terminate();
    }

    void AppendChars(const WIDECHAR* text, int32 count)
    {
        if (count <= 0)
            return;
        if (Data.Num() > 0)
            Data.RemoveAt(Data.Num() - 1);
        Reserve(Len() + count);
        Data.Append(text, count);
        Terminate();
    }

    FString& operator+=(const FString& other)
    {
        if (&other == this) {
            const FString copy(other);
            AppendChars(*copy, copy.Len());
        } else {
            AppendChars(*other, other.Len());
        }
        return *this;
    }

    static FString ConcatFF(const FString& a, const FString& b)
    {
        FString result(a);
        result += b;
        return result;
    }

    friend FString operator+(const FString& a, const FString& b) { return ConcatFF(a, b); }
    friend bool operator==(const FString& a, const FString& b) { return a.View() == b.View(); }

    // Index of the first occurrence of `sub` (case-sensitive), or -1.
    int32 Find(const WIDECHAR* sub) const
    {
        const auto at = View().find(sub);
        return at == WideView::npos ? -1 : static_cast<int32>(at);
    }

    bool Contains(const WIDECHAR* sub) const { return Find(sub) >= 0; }

    // Splits at every occurrence of `delimiter`; with `cullEmpty`, empty pieces are
    // dropped, so runs of delimiters count as one and leading and trailing ones vanish.
    int32 ParseIntoArray(TArray<FString>& out, const WIDECHAR* delimiter, bool cullEmpty) const
    {
        out.Reset();
        const WideView text = View();
        const WideView delim(delimiter != nullptr ? delimiter : WTEXT(""));
        if (delim.empty()) {
            if (!(cullEmpty && text.empty()))
                out.Emplace(text);
            return out.Num();
        }
        std::size_t start = 0;
        while (true) {
            const std::size_t at = text.find(delim, start);
            const WideView piece = text.substr(start, at == WideView::npos ? text.npos : at - start);
            if (!(cullEmpty && piece.empty()))
                out.Emplace(piece);
            if (at == WideView::npos)
                break;
            start = at + delim.size();
        }
        return out.Num();
    }

private:
    void Reserve(int32 length) { Data.Reserve(length + 1); }
    void Terminate() { Data.Add(WTEXT('\0')); }

    TArray<WIDECHAR> Data;
};

static_assert(sizeof(FString) == 16, "a game string is a game array of UTF-16 units");

// The game's string owns its buffer, as its array does.
template <>
struct GameClass<FString> {
    static constexpr GameClassDefinition kDefinition{.userDefinedConstructor = true};
};
