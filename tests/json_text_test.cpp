// JSON text written directly: the same bytes as the JSON library's ASCII dump of
// the same values, which the replies and the ledger's lines were before.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "host/json_text.h"

namespace kestrova::test {
namespace {

std::string LibraryDump(const nlohmann::json& value)
{
    return value.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

std::string Written(std::string_view text) { return JsonText().String(text).Take(); }

// Strings of pieces that each take another road through the escaping: plain
// runs, escapes, DEL, characters of every UTF-8 length, and the ways a
// sequence can be broken (a stray continuation, an overlong form, a surrogate,
// beyond U+10FFFF, cut short, at the end).
std::string RandomText(std::mt19937& random)
{
    static const std::string_view kPieces[] = {
        "a",   "plain text long enough for a word at once", "\"",  "\\",   "/",    "\b",   "\t",   "\n",
        "\f",  "\r",       "\x01",  "\x1f",  "\x7f",  " ",    "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\xa6\x96",
        "\xef\xbf\xbf",    "\xf4\x8f\xbf\xbf",  "\x80", "\xbf", "\xc0\xaf", "\xc1",  "\xc2",  "\xe0\x80\x80",
        "\xe0\xa0",        "\xed\xa0\x80",      "\xed\x9f\xbf", "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80", "\xf5",
        "\xff",  "\xf0\x9f",  "\xe2\x82",  std::string_view("\0", 1),
    };
    std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> count(0, 12);
    std::string text;
    for (int i = count(random); i > 0; --i)
        text += kPieces[piece(random)];
    return text;
}

TEST(JsonText, WritesStringsAsTheLibrarysAsciiDump)
{
    std::mt19937 random(26);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomText(random);
        ASSERT_EQ(Written(text), LibraryDump(text)) << ::testing::PrintToString(text);
    }
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    EXPECT_EQ(Written(everyByte), LibraryDump(everyByte));
}

TEST(JsonText, WritesNumbersAsTheLibraryDoes)
{
    std::mt19937 random(26);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> exponent(-45, 38);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 20000; ++i) {
        const float single = unit(random) * std::pow(10.0f, static_cast<float>(exponent(random)));
        ASSERT_EQ(JsonText().Number(single).Text(), LibraryDump(static_cast<double>(single))) << single;
        double any = 0;
        const std::uint64_t pattern = bits(random);
        std::memcpy(&any, &pattern, sizeof any);
        ASSERT_EQ(JsonText().Number(any).Text(), LibraryDump(any)) << any;
    }
    for (const double special : {0.0, -0.0, 1.0, -1.5, 1e15, 1e16, 1e-5, 0.0001, std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(JsonText().Number(special).Text(), LibraryDump(special)) << special;
    for (const std::int64_t whole : {std::int64_t{0}, std::int64_t{-1}, std::numeric_limits<std::int64_t>::min(),
                                     std::numeric_limits<std::int64_t>::max()})
        EXPECT_EQ(JsonText().Int(whole).Text(), LibraryDump(whole));
}

TEST(JsonText, SeparatesMembersAndItemsAtEveryDepth)
{
    JsonText json;
    json.Open().Key("a").OpenList().Int(1).Open().Close().OpenList().CloseList().Bool(false).CloseList();
    json.Key("b").String("\xc3\xa9").Key("n").Null().Key("c").Open().Key("d").Raw("[1,2]").Key("e").String("").Close().Close();
    EXPECT_EQ(json.Text(), R"({"a":[1,{},[],false],"b":"\u00e9","n":null,"c":{"d":[1,2],"e":""}})");
    EXPECT_EQ(JsonText().OpenList().Null().Null().CloseList().Text(), "[null,null]");
}

TEST(FirstUtf8Sequence, ReadsOneCharacterOrTheStartOfABrokenOne)
{
    const auto read = [](std::string_view text) {
        const Utf8Sequence sequence = FirstUtf8Sequence(text);
        return std::to_string(sequence.length) + (sequence.wellFormed ? " U+" + std::to_string(sequence.codePoint) : " bad");
    };
    EXPECT_EQ(read("\xc3\xa9x"), "2 U+233");
    EXPECT_EQ(read("\xf0\x9f\xa6\x96"), "4 U+129430");
    EXPECT_EQ(read("\xf4\x8f\xbf\xbf"), "4 U+1114111");
    EXPECT_EQ(read("\xf0\x9f\xa6"), "3 bad") << "cut short at the end";
    EXPECT_EQ(read("\xe2(\x82"), "1 bad") << "cut short by a byte that starts anew";
    EXPECT_EQ(read("\xe0\x80\x80"), "1 bad") << "overlong";
    EXPECT_EQ(read("\xed\xa0\x80"), "1 bad") << "a surrogate";
    EXPECT_EQ(read("\xf4\x90\x80\x80"), "1 bad") << "beyond U+10FFFF";
    EXPECT_EQ(read("\x80"), "1 bad");
    EXPECT_EQ(read("\xc1\xbf"), "1 bad");
}

}  // namespace
}  // namespace kestrova::test
