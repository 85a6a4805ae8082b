#include <deque>
#include <numeric>
#include <string>

#include <gtest/gtest.h>

#include "rcon/protocol.h"
#include "rcon/utf8.h"

namespace sim::rcon {
namespace {

using namespace std::string_literals;

std::string SizeField(std::int32_t size)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((static_cast<std::uint32_t>(size) >> shift) & 0xFF);
    return out;
}

TEST(RconPacket, EncodesLittleEndianWithSizeCountingIdTypeBodyAndNuls)
{
    const std::string bytes = EncodePacket({0x01020304, kExecCommand, "hi"});
    EXPECT_EQ(bytes, "\x0C\0\0\0"s "\x04\x03\x02\x01"s "\x02\0\0\0"s "hi\0\0"s);
    EXPECT_EQ(EncodePacket({-1, kAuthResponse, ""}), "\x0A\0\0\0"s "\xFF\xFF\xFF\xFF"s "\x02\0\0\0"s "\0\0"s);
}

TEST(RconPacketDecoder, ReassemblesPacketsFromAnyChunking)
{
    const Packet first{7, kAuth, "secret"};
    const Packet second{8, kExecCommand, "KV.SpawnItemFor 1 a b c d"};
    const std::string stream = EncodePacket(first) + EncodePacket(second);

    // Byte by byte.
    PacketDecoder bytewise;
    std::deque<Packet> out;
    for (char byte : stream)
        ASSERT_TRUE(bytewise.Feed(std::string_view(&byte, 1), out));
    EXPECT_EQ(out, (std::deque<Packet>{first, second}));

    // Both in one chunk.
    PacketDecoder whole;
    out.clear();
    ASSERT_TRUE(whole.Feed(stream, out));
    EXPECT_EQ(out, (std::deque<Packet>{first, second}));

    // A chunk that ends inside the second packet's size field, then the rest.
    PacketDecoder straddling;
    out.clear();
    const std::size_t cut = EncodePacket(first).size() + 2;
    ASSERT_TRUE(straddling.Feed(std::string_view(stream).substr(0, cut), out));
    EXPECT_EQ(out, std::deque<Packet>{first});
    ASSERT_TRUE(straddling.Feed(std::string_view(stream).substr(cut), out));
    EXPECT_EQ(out, (std::deque<Packet>{first, second}));
}

TEST(RconPacketDecoder, RejectsSizesOutsideTenTo4096)
{
    for (std::int32_t size : {9, 0, -1, -2147483647 - 1, 4097, 0x7FFFFFFF}) {
        PacketDecoder decoder;
        std::deque<Packet> out;
        EXPECT_FALSE(decoder.Feed(SizeField(size), out)) << size;
        // Once failed, it stays failed.
        EXPECT_FALSE(decoder.Feed(EncodePacket({1, kAuth, "x"}), out)) << size;
        EXPECT_TRUE(out.empty());
    }
}

TEST(RconPacketDecoder, AcceptsTheSmallestAndLargestSizes)
{
    PacketDecoder decoder;
    std::deque<Packet> out;
    ASSERT_TRUE(decoder.Feed(SizeField(10) + "\x05\0\0\0\0\0\0\0\0\0"s, out));
    ASSERT_TRUE(decoder.Feed(EncodePacket({6, kExecCommand, std::string(4096 - 10, 'x')}), out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], (Packet{5, kResponseValue, ""}));
    EXPECT_EQ(out[1].body.size(), 4086u);
}

TEST(RconPacketDecoder, CutsTheBodyAtItsFirstNul)
{
    PacketDecoder decoder;
    std::deque<Packet> out;
    // A body with a NUL inside, and a body whose size leaves out both NULs.
    ASSERT_TRUE(decoder.Feed(EncodePacket({1, kExecCommand, "one\0two"s}), out));
    ASSERT_TRUE(decoder.Feed(SizeField(11) + "\x02\0\0\0"s "\x02\0\0\0"s "abc"s, out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].body, "one");
    EXPECT_EQ(out[1].body, "abc");
}

TEST(RconPacketDecoder, PassesInvalidUtf8Through)
{
    PacketDecoder decoder;
    std::deque<Packet> out;
    ASSERT_TRUE(decoder.Feed(EncodePacket({1, kExecCommand, "a\xFF\xC3"}), out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].body, "a\xFF\xC3");
}

TEST(RconSplitReply, KeepsUpTo3690BytesInOnePacket)
{
    EXPECT_EQ(SplitReply(""), std::vector<std::string>{""});
    EXPECT_EQ(SplitReply(std::string(3690, 'a')).size(), 1u);

    const auto pieces = SplitReply(std::string(3691, 'a'));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].size(), 3690u);
    EXPECT_EQ(pieces[1].size(), 1u);
}

TEST(RconSplitReply, SplitsLongRepliesIntoPacketsOfAtMost4096Bytes)
{
    std::string body;
    for (int i = 0; body.size() < 20000; ++i)
        body += "line " + std::to_string(i) + " \xE2\x82\xAC \xF0\x9F\xA6\x96\n";
    const auto pieces = SplitReply(body);
    ASSERT_GT(pieces.size(), 5u);
    for (const std::string& piece : pieces) {
        if (&piece != &pieces.back()) {
            EXPECT_GE(piece.size(), kMaxReplyBody - 3);
        }
        EXPECT_LE(EncodePacket({1, kResponseValue, piece}).size(), 4096u);
        EXPECT_EQ(ValidUtf8(piece), piece) << "a piece cuts a sequence apart";
    }
    EXPECT_EQ(std::accumulate(pieces.begin(), pieces.end(), std::string()), body);
}

TEST(RconSplitReply, NeverCutsAUtf8SequenceAtTheLimit)
{
    // A three-byte and a four-byte character straddling the limit.
    for (std::string tail : {"\xE2\x82\xAC", "\xF0\x9F\xA6\x96"}) {
        for (std::size_t before = kMaxReplyBody - tail.size() + 1; before < kMaxReplyBody; ++before) {
            const std::string body = std::string(before, 'a') + tail + "z";
            const auto pieces = SplitReply(body);
            ASSERT_EQ(pieces.size(), 2u);
            EXPECT_EQ(pieces[0], std::string(before, 'a'));
            EXPECT_EQ(pieces[1], tail + "z");
        }
    }
}

TEST(RconUtf8, ReplacesEachIllFormedStretchWithOneReplacementCharacter)
{
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(ValidUtf8("plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\xA6\x96"), "plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\xA6\x96");
    EXPECT_EQ(ValidUtf8("a\xFF" "b"), "a" + r + "b");                 // a stray byte
    EXPECT_EQ(ValidUtf8("a\xE2\x82"), "a" + r);                        // truncated at the end
    EXPECT_EQ(ValidUtf8("\xE2\x82" "b"), r + "b");                     // truncated in the middle
    EXPECT_EQ(ValidUtf8("\xC0\x80"), r + r);                           // overlong
    EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), r + r + r);                   // a surrogate
    EXPECT_EQ(ValidUtf8("\xF4\x90\x80\x80"), r + r + r + r);           // above U+10FFFF
    EXPECT_EQ(ValidUtf8("\x80\x80"), r + r);                           // lone continuations
}

}  // namespace
}  // namespace sim::rcon
