#include <cmath>
#include <cwctype>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/text.h"
#include "host/words.h"
#include "framework/host.h"
#include "framework/memory.h"

namespace kestrova {
namespace {

// Every word function that builds game strings must leave no game block behind.
class Words : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::RegisterAllocator();
        liveBlocks_ = sim::GetMemoryStats().liveBlocks;
    }
    void TearDown() override { EXPECT_EQ(sim::GetMemoryStats().liveBlocks, liveBlocks_); }

private:
    std::int64_t liveBlocks_ = 0;
};

std::vector<WideString> Texts(const TArray<FString>& words)
{
    std::vector<WideString> texts;
    for (const FString& word : words)
        texts.emplace_back(word.View());
    return texts;
}

std::vector<WideString> Texts(const CommandWords& words)
{
    std::vector<WideString> texts;
    for (int32 i = 0; i < words.Num(); ++i)
        texts.emplace_back(words[i]);
    return texts;
}

using U16 = std::vector<WideString>;

template <typename Exception, typename Convert>
std::string FailureOf(Convert convert, std::string_view text)
{
    try {
        convert(text);
    } catch (const Exception& e) {
        return e.what();
    } catch (...) {
        return "another exception";
    }
    return "no exception";
}

std::string IntInvalid(std::string_view text) { return FailureOf<std::invalid_argument>(ToInt, text); }
std::string IntRange(std::string_view text) { return FailureOf<std::out_of_range>(ToInt, text); }
std::string FloatInvalid(std::string_view text) { return FailureOf<std::invalid_argument>(ToFloat, text); }
std::string FloatRange(std::string_view text) { return FailureOf<std::out_of_range>(ToFloat, text); }

TEST_F(Words, SplitWordsDropsEmptyWords)
{
    EXPECT_EQ(Texts(SplitWords(FString(WTEXT("  KV.SpawnDino   a\tb  \"\" 1 ")))),
              (U16{WTEXT("KV.SpawnDino"), WTEXT("a\tb"), WTEXT("\"\""), WTEXT("1")}));
    EXPECT_EQ(SplitWords(FString(WTEXT(""))).Num(), 0);
    EXPECT_EQ(SplitWords(FString(WTEXT("    "))).Num(), 0);
    EXPECT_EQ(Texts(SplitWords(FString(WTEXT("one")))), U16{WTEXT("one")});
}

// The commands read their words without game strings; they must read the words
// the host's split gives, and allocate nothing in the game for them.
TEST_F(Words, CommandWordsAreTheWordsTheHostSplitGivesWithoutGameStorage)
{
    for (const WIDECHAR* text : {WTEXT("  KV.SpawnDino   a\tb  \"\" 1 "), WTEXT(""), WTEXT("    "), WTEXT("one"),
                                 WTEXT("KV.SpawnDinoFor 1002 x 1,2,,3 F "), WTEXT(" \u00e9 \u00fc ")}) {
        const FString line(text);
        SCOPED_TRACE(ToNarrow(line));
        const std::uint64_t allocationsBefore = sim::GetMemoryStats().allocations;
        const CommandWords words(line.View());
        EXPECT_EQ(sim::GetMemoryStats().allocations, allocationsBefore);

        const TArray<FString> split = SplitWords(line);
        EXPECT_EQ(Texts(words), Texts(split));
        EXPECT_EQ(Texts(CommandWords(split)), Texts(split));
    }
}

TEST_F(Words, SplitOnDropsEmptyPieces)
{
    EXPECT_EQ(Texts(SplitOn(FString(WTEXT(",5,,x,7,")), WTEXT(","))), (U16{WTEXT("5"), WTEXT("x"), WTEXT("7")}));
    EXPECT_EQ(SplitOn(FString(WTEXT(",")), WTEXT(",")).Num(), 0);
    EXPECT_EQ(Texts(SplitOn(FString(WTEXT("-3-5")), WTEXT("-"))), (U16{WTEXT("3"), WTEXT("5")}));
    EXPECT_EQ(Texts(SplitOn(FString(WTEXT("-5")), WTEXT("-"))), U16{WTEXT("5")});
    EXPECT_EQ(Texts(SplitOn(FString(WTEXT("1-2-3")), WTEXT("-"))), (U16{WTEXT("1"), WTEXT("2"), WTEXT("3")}));
}

TEST_F(Words, NumericTestAcceptsSignDigitsAndOnePoint)
{
    for (const WIDECHAR* word : {WTEXT("0"), WTEXT("12"), WTEXT("-3"), WTEXT("+4"), WTEXT("1.5"), WTEXT(".5"), WTEXT("5."), WTEXT("+"), WTEXT("-"), WTEXT("."), WTEXT("+."), WTEXT("-."),
                                 WTEXT("007"), WTEXT("99999999999999999999")})
        EXPECT_TRUE(IsNumeric(FString(word))) << sim::ToUtf8(word);
}

TEST_F(Words, NumericTestRejectsEverythingElse)
{
    for (const WIDECHAR* word : {WTEXT(""), WTEXT(" 1"), WTEXT("1 "), WTEXT("1.2.3"), WTEXT(".."), WTEXT("1e5"), WTEXT("--1"), WTEXT("+-1"), WTEXT("1-"), WTEXT("1+"), WTEXT("abc"),
                                 WTEXT("0x10"), WTEXT("1,5"), WTEXT("R"), WTEXT("\"1\"")})
        EXPECT_FALSE(IsNumeric(FString(word))) << sim::ToUtf8(word);
}

TEST_F(Words, NumericTestTakesDigitsAsIswdigitDoes)
{
    // Arabic-Indic three, fullwidth one, superscript two, Devanagari five: what
    // counts is the C library's iswdigit, not a Unicode table of our own.
    for (const WIDECHAR unit : {WTEXT('\u0663'), WTEXT('\uFF11'), WTEXT('\u00B2'), WTEXT('\u096B')}) {
        const bool digit = std::iswdigit(static_cast<std::wint_t>(unit)) != 0;
        const WIDECHAR word[] = {WTEXT('-'), WTEXT('1'), unit, WTEXT('\0')};
        EXPECT_EQ(IsNumeric(FString(word)), digit) << static_cast<int>(unit);
    }
}

TEST_F(Words, NarrowConversionKeepsAsciiOnly)
{
    EXPECT_EQ(ToNarrow(FString(WTEXT("KV.SpawnDino 1,2"))), "KV.SpawnDino 1,2");
    EXPECT_EQ(ToNarrow(FString(WTEXT("\u00e9"))), "?");
    EXPECT_EQ(ToNarrow(FString(WTEXT("a\u007f\u0080\u20acb"))), "a\x7f??b");
    EXPECT_EQ(ToNarrow(FString(WTEXT("\U0001F996"))), "??");  // a surrogate pair is two units
    EXPECT_EQ(ToNarrow(FString()), "");
}

TEST_F(Words, IntegerConversionReadsLeadingDigits)
{
    EXPECT_EQ(ToInt("0"), 0);
    EXPECT_EQ(ToInt("1.9"), 1);
    EXPECT_EQ(ToInt("12.7"), 12);
    EXPECT_EQ(ToInt("1e5"), 1);
    EXPECT_EQ(ToInt("12abc"), 12);
    EXPECT_EQ(ToInt("+7"), 7);
    EXPECT_EQ(ToInt("-0"), 0);
    EXPECT_EQ(ToInt("007"), 7);
    EXPECT_EQ(ToInt(" \t\n\v\f\r42"), 42);
    EXPECT_EQ(ToInt("-5-10"), -5);
    EXPECT_EQ(ToInt("2147483647"), 2147483647);
    EXPECT_EQ(ToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInt("000000000000000000002147483647"), 2147483647);
}

TEST_F(Words, IntegerConversionFailures)
{
    for (const char* text : {"", " ", "+", "-", ".", "+.", "-.", ".5", "-.5", "abc", "+-1", "- 1", "\xa0" "1"})
        EXPECT_EQ(IntInvalid(text), "invalid stoi argument") << text;
    for (const char* text : {"2147483648", "-2147483649", "4294967296", "4294967297", "99999999999999999999999"})
        EXPECT_EQ(IntRange(text), "stoi argument out of range") << text;
}

TEST_F(Words, FloatConversionReadsLongestNumber)
{
    EXPECT_EQ(ToFloat("1.0"), 1.0f);
    EXPECT_EQ(ToFloat("0.0"), 0.0f);
    EXPECT_EQ(ToFloat("1.5abc"), 1.5f);
    EXPECT_EQ(ToFloat(".5"), 0.5f);
    EXPECT_EQ(ToFloat("5."), 5.0f);
    EXPECT_EQ(ToFloat("+3"), 3.0f);
    EXPECT_EQ(ToFloat(" \t2.25"), 2.25f);
    EXPECT_EQ(ToFloat("1e3"), 1000.0f);
    EXPECT_EQ(ToFloat("1e"), 1.0f);
    EXPECT_EQ(ToFloat("2-7"), 2.0f);
    EXPECT_EQ(ToFloat("0e-50"), 0.0f);
    const float minusZero = ToFloat("-0");
    EXPECT_EQ(minusZero, 0.0f);
    EXPECT_TRUE(std::signbit(minusZero));
}

TEST_F(Words, FloatConversionRoundsCorrectly)
{
    EXPECT_EQ(ToFloat("0.1"), 0.1f);
    // Exactly half-way between 1 and the next float: ties go to even.
    EXPECT_EQ(ToFloat("1.000000059604644775390625"), 1.0f);
    // A hair above half-way: only the last of many digits decides.
    EXPECT_EQ(ToFloat("1.00000005960464477539062500000001"), std::nextafter(1.0f, 2.0f));
    EXPECT_EQ(ToFloat("340000000000000000000000000000000000000"), 3.4e38f);
    EXPECT_EQ(ToFloat("3.4028235e38"), std::numeric_limits<float>::max());
    EXPECT_EQ(ToFloat("1.17549435e-38"), std::numeric_limits<float>::min());
}

TEST_F(Words, FloatConversionReadsInfinityNanAndHex)
{
    EXPECT_EQ(ToFloat("inf"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ToFloat("-Infinity"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(ToFloat("INFx"), std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(ToFloat("NaN")));
    EXPECT_EQ(ToFloat("0x1p3"), 8.0f);
    EXPECT_EQ(ToFloat("-0X.8"), -0.5f);
    EXPECT_EQ(ToFloat("0x"), 0.0f);
    EXPECT_EQ(ToFloat("0xg"), 0.0f);
}

TEST_F(Words, FloatConversionFailures)
{
    for (const char* text : {"", " ", "+", "-", ".", "+.", "-.", "e5", "abc", "+-1", "-+1", "- 1", "in", "x1"})
        EXPECT_EQ(FloatInvalid(text), "invalid stof argument") << text;

    const std::string tiny = "0." + std::string(50, '0') + "1";
    for (const std::string& text : {std::string("350000000000000000000000000000000000000"), std::string("1e39"),
                                    std::string("-1e39"), std::string("3.40282357e38"), tiny, "-" + tiny,
                                    std::string("1e-40"), std::string("1.4e-45"), std::string("1e-46"),
                                    std::string("0x1p128"), std::string("0x1p-149")})
        EXPECT_EQ(FloatRange(text), "stof argument out of range") << text;
}

TEST(WordsText, QuotesAndUpperCase)
{
    EXPECT_EQ(WithoutQuotes("\"Blueprint'/Game/A.A'\""), "Blueprint'/Game/A.A'");
    EXPECT_EQ(WithoutQuotes("\"\""), "");
    EXPECT_EQ(WithoutQuotes("a\"b\"c"), "abc");
    EXPECT_EQ(ToUpperAscii(WTEXT("aBz{`\u00e9_c")), WTEXT("ABZ{`\u00e9_C"));
}

TEST(WordsText, CaseInsensitiveReplaceAndSuffix)
{
    EXPECT_EQ(RemoveIgnoringCase(WTEXT("Blueprint'/Game/Eggs/Egg.Default__Egg'"), WTEXT("Default__")),
              WTEXT("Blueprint'/Game/Eggs/Egg.Egg'"));
    EXPECT_EQ(RemoveIgnoringCase(WTEXT("DEFAULT__a default__b"), WTEXT("Default__")), WTEXT("a b"));
    // What a removal brings together is not looked at again.
    EXPECT_EQ(RemoveIgnoringCase(WTEXT("DefDefault__ault__"), WTEXT("Default__")), WTEXT("Default__"));
    EXPECT_EQ(RemoveIgnoringCase(WTEXT("Default_"), WTEXT("Default__")), WTEXT("Default_"));
    EXPECT_EQ(ReplaceIgnoringCase(WTEXT("aXbxc"), WTEXT("x"), WTEXT("--")), WTEXT("a--b--c"));

    EXPECT_TRUE(EndsWithIgnoringCase(WTEXT("Egg_C"), WTEXT("_C")));
    EXPECT_TRUE(EndsWithIgnoringCase(WTEXT("egg_c"), WTEXT("_C")));
    EXPECT_TRUE(EndsWithIgnoringCase(WTEXT("_C"), WTEXT("_C")));
    EXPECT_FALSE(EndsWithIgnoringCase(WTEXT("C"), WTEXT("_C")));
    EXPECT_FALSE(EndsWithIgnoringCase(WTEXT(""), WTEXT("_C")));
    EXPECT_FALSE(EndsWithIgnoringCase(WTEXT("Egg_Cx"), WTEXT("_C")));
}

}  // namespace
}  // namespace kestrova
