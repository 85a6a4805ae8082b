// Order ids, and what an order's lines make of it.
#include <gtest/gtest.h>

#include "plugin/order_book.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

TEST(OrderId, OneTo64LettersDigitsDotsUnderscoresColonsAndDashes)
{
    for (const std::string& id : std::vector<std::string>{"a", "shop-4711", "A.b_c:d-9", std::string(64, 'x'),
                                                          "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.:", "_-"})
        EXPECT_TRUE(IsValidOrderId(id)) << id;
    for (const std::string& id : std::vector<std::string>{"", std::string(65, 'x'), "a b", "a/b", "a#1", "a+b", "é",
                                                          "a\nb", std::string("a\0b", 3), "\"a\"", "a,b"})
        EXPECT_FALSE(IsValidOrderId(id)) << id;
}

// The order line that `line` is, or its problem.
std::string Read(const std::string& line, OrderLine& order)
{
    static LedgerLineFields fields;
    if (!ScanLedgerLine(line, fields))
        return "not an object";
    return std::string(ReadOrderLine(fields, order));
}

TEST(OrderBook, EachResultIsReadAndOnlyNothingRunsAgain)
{
    const std::pair<const char*, OrderResult> results[] = {
        {"delivered", OrderResult::Delivered}, {"kept-in-world", OrderResult::KeptInWorld},
        {"partly", OrderResult::Partly},       {"nothing", OrderResult::Nothing},
        {"failed", OrderResult::Failed},       {"something new", OrderResult::Other},
    };
    for (const auto& [text, result] : results) {
        OrderLine order;
        ASSERT_EQ(Read(OutcomeLine("a", text), order), "") << text;
        EXPECT_EQ(order.id, "a");
        EXPECT_TRUE(order.hasOutcome);
        EXPECT_EQ(order.result, result) << text;
        EXPECT_EQ((KnownOrder{{}, true, result}.RunsAgain()), result == OrderResult::Nothing) << text;
    }
    // Interrupted: started, no outcome; it never runs again.
    OrderLine started;
    ASSERT_EQ(Read(StartedLine("a"), started), "");
    EXPECT_FALSE(started.hasOutcome);
    EXPECT_FALSE((KnownOrder{{}, false, started.result}.RunsAgain()));
    // A line without "order" is not about an order.
    OrderLine run;
    EXPECT_EQ(Read(RunLine(1), run), "");
    EXPECT_TRUE(run.id.empty());
}

TEST(OrderBook, TheLatestLineOfAnOrderCountsAndRotatedOutOrdersAreForgotten)
{
    OrderBook book;
    const auto record = [&book](std::string_view id, bool hasOutcome, OrderResult result, std::uint32_t generation) {
        book.Record({id, hasOutcome, result}, {0, 1, generation});
    };
    record("a", true, OrderResult::Nothing, 1);
    record("b", false, OrderResult::Other, 1);
    record("a", false, OrderResult::Other, 2);  // a retry that runs again
    record("c", true, OrderResult::Delivered, 3);
    ASSERT_EQ(book.Size(), 3u);
    EXPECT_FALSE(book.Find("a")->hasOutcome);
    EXPECT_EQ(book.Find("a")->latest.generation, 2u);
    EXPECT_EQ(book.Find("missing"), nullptr);

    book.ForgetBefore(2);
    EXPECT_EQ(book.Size(), 2u);
    EXPECT_EQ(book.Find("b"), nullptr);
    EXPECT_NE(book.Find("a"), nullptr);
    EXPECT_NE(book.Find("c"), nullptr);
}

}  // namespace
}  // namespace kestrova::test
