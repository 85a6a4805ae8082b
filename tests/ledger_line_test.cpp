// Finding an order's fields in a ledger line without parsing it whole, and
// telling damaged lines apart exactly as a parse does.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ledger/ledger_line.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

using Kind = LedgerLineFields::Kind;

// "kind:text" for each field, for comparing at a glance.
std::string Scanned(std::string_view line)
{
    LedgerLineFields fields;
    if (!ScanLedgerLine(line, fields))
        return "not an object";
    const auto show = [](const LedgerLineFields::Field& field) {
        return field.kind == Kind::Absent    ? std::string("-")
               : field.kind == Kind::NotText ? std::string("?")
                                             : "'" + std::string(field.text) + "'";
    };
    return show(fields.order) + " " + show(fields.event) + " " + show(fields.result) + " " + show(fields.decision);
}

TEST(LedgerLine, FindsTheOrderTheEventAndTheOutcomesResultWhereverTheyAre)
{
    EXPECT_EQ(Scanned(StartedLine("shop-4711")), "'shop-4711' 'started' - -");
    EXPECT_EQ(Scanned(OutcomeLine("shop-4711", "kept-in-world")), "'shop-4711' 'outcome' 'kept-in-world' -");
    EXPECT_EQ(Scanned(RunLine(1)), "- - 'delivered' -");
    EXPECT_EQ(Scanned(R"( { "outcome" : { "n" : [ 1 , { "result" : "x" } ] , "result" : "partly" } ,
                         "event":"outcome" , "order" : "a" } )"),
              "'a' 'outcome' 'partly' -");
    // Only the top level's "order" and "event", and only the outcome's own "result".
    EXPECT_EQ(Scanned(R"({"line":{"order":"x","event":"y"},"result":"z","outcome":{"more":{"result":"w"}}})"), "- - - -");
    EXPECT_EQ(Scanned(R"({"order":1,"event":null,"outcome":{"result":["delivered"]}})"), "? ? ? -");
    EXPECT_EQ(Scanned(R"({"outcome":"delivered"})"), "- - - -");
    // A settlement's "decision", at the top level only.
    EXPECT_EQ(Scanned(R"({"decision":"not-delivered","event":"settled","note":{"decision":"x"},"order":"a"})"),
              "'a' 'settled' - 'not-delivered'");
    EXPECT_EQ(Scanned(R"({"decision":null,"order":"a"})"), "'a' - - ?");
    // The last of two members with one name counts, as in a parse.
    EXPECT_EQ(Scanned(R"({"order":"a","order":"b","outcome":{"result":"x"},"outcome":{}})"), "'b' - - -");
}

TEST(LedgerLine, EscapedNamesAndTextsAreReadUnescaped)
{
    EXPECT_EQ(Scanned(R"({"\u006frder":"a\u002db","event":"st\u0061rted"})"), "'a-b' 'started' - -");
    EXPECT_EQ(Scanned(R"({"order":"a","outcome":{"r\u0065sult":"deliv\u0065red"}})"), "'a' - 'delivered' -");
    EXPECT_EQ(Scanned(R"({"order":"a","d\u0065cision":"not\u002ddelivered"})"), "'a' - - 'not-delivered'");
    EXPECT_EQ(Scanned(R"({"order":"a\"b","note":"\ud83d\ude00 \\ \/ \b\f\n\r\t"})"), "'a\"b' - - -");
}

TEST(LedgerLine, AnythingButOneJsonObjectIsNotOne)
{
    for (const char* line : {"",
                             " ",
                             "[]",
                             "1",
                             "\"x\"",
                             "null",
                             "{",
                             "}",
                             "{}{}",
                             "{} x",
                             R"({"a"})",
                             R"({"a":})",
                             R"({"a":1,})",
                             R"({,"a":1})",
                             R"({"a":01})",
                             R"({"a":1.})",
                             R"({"a":.5})",
                             R"({"a":1e})",
                             R"({"a":-})",
                             R"({"a":tru})",
                             R"({"a":nul})",
                             R"({'a':1})",
                             R"({"a":"\x"})",
                             R"({"a":"\u12"})",
                             R"({"a":"\udc00"})",
                             R"({"a":"\ud800"})",
                             R"({"a":"\ud800\u0041"})",
                             "{\"a\":\"\t\"}",
                             "{\"a\":\"\x01\"}",
                             "{\"a\":\"\xc0\xaf\"}",
                             "{\"a\":\"\xed\xa0\x80\"}",
                             "{\"a\":\"\xf4\x90\x80\x80\"}",
                             "{\"a\":\"\xe2\x82\"}",
                             "{\"a\":1}\xef\xbb\xbf"})
        EXPECT_EQ(Scanned(line), "not an object") << line;
    EXPECT_EQ(Scanned(std::string(300, '[') + std::string(300, ']')), "not an object");
    EXPECT_EQ(Scanned("{\"a\":" + std::string(300, '[') + std::string(300, ']') + "}"), "not an object");
    EXPECT_EQ(Scanned("{\"a\":" + std::string(200, '[') + std::string(200, ']') + "}"), "- - - -");
    EXPECT_EQ(Scanned("{\"a\":[-0.5e+3,0,1E-2,true,false,null,\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"]}"), "- - - -");
}

// Every one-byte change of real lines: the scanner takes a line exactly when a
// parse finds one object in it.
TEST(LedgerLine, AgreesWithAParseOnEveryOneByteChange)
{
    const std::string lines[] = {
        OutcomeLine("shop-4711", "delivered"),
        R"({"v":1,"n":-12.5e+3,"a":[true,false,null,{}],"s":"\u00e9\"\\","o":{"result":"x"}})",
        "{\"s\":\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"}",
    };
    const char replacements[] = {'{',    '}',    '[',    ']',    '"',    '\\',   ':',    ',',   ' ',  '0',
                                 '1',    '-',    '.',    'e',    'u',    'a',    't',    'n',   '\t', '\n',
                                 '\x01', '\x7f', '\x80', '\xbf', '\xc3', '\xe2', '\xf0', '\xff'};
    int checked = 0;
    for (const std::string& line : lines) {
        for (std::size_t at = 0; at <= line.size(); ++at) {
            std::vector<std::string> variants;
            if (at < line.size())
                variants.push_back(line.substr(0, at) + line.substr(at + 1));
            for (const char c : replacements) {
                variants.push_back(line.substr(0, at) + c + line.substr(at));
                if (at < line.size())
                    variants.push_back(line.substr(0, at) + c + line.substr(at + 1));
            }
            for (const std::string& variant : variants) {
                const nlohmann::json parsed = nlohmann::json::parse(variant, nullptr, false);
                LedgerLineFields fields;
                ASSERT_EQ(ScanLedgerLine(variant, fields), parsed.is_object()) << variant;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 10000);
}

}  // namespace
}  // namespace kestrova::test
