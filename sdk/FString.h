// The game's string: UTF-16 units in game-allocated storage, counted with the
// terminating NUL (0 when empty).
#pragma once

#include <string_view>

#include "TArray.h"

using TCHAR = char16_t;

struct FGenericPlatformStricmp {
    // Compares at most `count` units, ignoring ASCII letter case.
    static int32 Strnicmp(const TCHAR* a, const TCHAR* b, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            const TCHAR ca = Lower(a[i]);
            const TCHAR cb = Lower(b[i]);
            if (ca != cb)
                return ca < cb ? -1 : 1;
            if (ca == 0)
                return 0;
        }
        return 0;
    }

private:
    static TCHAR Lower(TCHAR c) { return (c >= u'A' && c <= u'Z') ? static_cast<TCHAR>(c + 32) : c; }
};

class FString {
public:
    FString() = default;

    // Narrow text: each byte becomes one unit.
    FString(const char* text)
    {
        const std::string_view view(text != nullptr ? text : "");
        if (view.empty())
            return;
        Reserve(static_cast<int32>(view.size()));
        for (const char c : view)
            Data.Add(static_cast<TCHAR>(static_cast<unsigned char>(c)));
        Terminate();
    }

    FString(const TCHAR* text)
    {
        const std::u16string_view view(text != nullptr ? text : u"");
        AssignRange(view.data(), static_cast<int32>(view.size()));
    }

    FString(int32 length, const TCHAR* text) { AssignRange(text, length); }
    explicit FString(std::u16string_view text) { AssignRange(text.data(), static_cast<int32>(text.size())); }

    int32 Len() const { return Data.Num() > 0 ? Data.Num() - 1 : 0; }
    bool IsEmpty() const { return Len() == 0; }
    const TCHAR* operator*() const { return Data.Num() > 0 ? Data.GetData() : u""; }
    std::u16string_view View() const { return {**this, static_cast<std::size_t>(Len())}; }
    TArray<TCHAR>& GetCharArray() { return Data; }
    const TArray<TCHAR>& GetCharArray() const { return Data; }

    // Replaces the text with `count` units of `text`.
    void AssignRange(const TCHAR* text, int32 count)
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

    void AppendChars(const TCHAR* text, int32 count)
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
    int32 Find(const TCHAR* sub) const
    {
        const auto at = View().find(sub);
        return at == std::u16string_view::npos ? -1 : static_cast<int32>(at);
    }

    bool Contains(const TCHAR* sub) const { return Find(sub) >= 0; }

    // Splits at every occurrence of `delimiter`; with `cullEmpty`, empty pieces are
    // dropped, so runs of delimiters count as one and leading and trailing ones vanish.
    int32 ParseIntoArray(TArray<FString>& out, const TCHAR* delimiter, bool cullEmpty) const
    {
        out.Reset();
        const std::u16string_view text = View();
        const std::u16string_view delim(delimiter != nullptr ? delimiter : u"");
        if (delim.empty()) {
            if (!(cullEmpty && text.empty()))
                out.Emplace(text);
            return out.Num();
        }
        std::size_t start = 0;
        while (true) {
            const std::size_t at = text.find(delim, start);
            const std::u16string_view piece = text.substr(start, at == std::u16string_view::npos ? text.npos : at - start);
            if (!(cullEmpty && piece.empty()))
                out.Emplace(piece);
            if (at == std::u16string_view::npos)
                break;
            start = at + delim.size();
        }
        return out.Num();
    }

private:
    void Reserve(int32 length) { Data.Reserve(length + 1); }
    void Terminate() { Data.Add(u'\0'); }

    TArray<TCHAR> Data;
};

static_assert(sizeof(FString) == 16, "a game string is a game array of UTF-16 units");
