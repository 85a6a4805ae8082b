// The RCON packet decoder on a byte stream cut into chunks (byte 0 sets the chunk
// length), and what the server does with each packet's body on the way in and a
// reply's on the way out. Every packet the decoder gives must encode back to a
// packet it gives again, and once it refuses the stream it takes nothing more. A
// body read as UTF-8 comes out well formed, as the game reads it; a reply split
// into packets loses no byte, and a well-formed one is never cut inside a sequence.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "framework/host.h"
#include "fuzz/invariants.h"
#include "rcon/protocol.h"
#include "rcon/utf8.h"

using kestrova::fuzz::Require;
using sim::rcon::Packet;
using sim::rcon::PacketDecoder;

namespace {

// SplitReply's pieces, joined, are `reply`, and each fits in a packet.
void CheckSplit(std::string_view reply, bool wellFormed)
{
    const auto pieces = sim::rcon::SplitReply(reply);
    Require(!pieces.empty(), "a reply that goes out in no packet");
    std::string joined;
    for (const std::string& piece : pieces) {
        Require(piece.size() <= sim::rcon::kMaxReplyBody, "a reply piece larger than a packet takes");
        Require(!piece.empty() || pieces.size() == 1, "an empty piece of a reply");
        Require(!wellFormed || sim::rcon::ValidUtf8(piece) == piece, "a reply cut inside a UTF-8 sequence");
        joined += piece;
    }
    Require(joined == reply, "a reply that lost or changed bytes when split");
}

// The body as the server reads it, then as a reply long enough to need several
// packets: the body repeated from an offset the packet's id sets, so that the
// cuts fall at every place in its sequences.
void CheckBody(const Packet& packet)
{
    const std::string text = sim::rcon::ValidUtf8(packet.body);
    Require(sim::rcon::ValidUtf8(text) == text, "the UTF-8 check gave text it would change again");
    // The game's own conversion, written apart from the check, reads it back whole.
    Require(sim::ToUtf8(sim::FromUtf8(text)) == text, "the UTF-8 check passed what the game does not read as UTF-8");
    const bool ascii = std::all_of(packet.body.begin(), packet.body.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        Require(text == packet.body, "the UTF-8 check changed ASCII text");
    CheckSplit(packet.body, false);
    if (text.empty())
        return;
    std::string reply(static_cast<std::size_t>(static_cast<std::uint32_t>(packet.id) % 7), 'x');
    while (reply.size() <= 2 * sim::rcon::kMaxReplyBody)
        reply += text;
    CheckSplit(reply, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

    PacketDecoder decoder;
    std::deque<Packet> packets;
    bool refused = false;
    while (!stream.empty()) {
        const std::string_view piece = stream.substr(0, chunk);
        stream.remove_prefix(piece.size());
        const bool accepted = decoder.Feed(piece, packets);
        Require(!(refused && accepted), "the decoder took bytes after refusing the stream");
        refused = refused || !accepted;
    }

    for (const Packet& packet : packets) {
        Require(packet.body.size() + sim::rcon::kPacketOverhead <= sim::rcon::kMaxPacketSize + 4,
                "a packet larger than the protocol allows");
        PacketDecoder again;
        std::deque<Packet> decoded;
        Require(again.Feed(sim::rcon::EncodePacket(packet), decoded), "an encoded packet was refused");
        Require(decoded.size() == 1 && decoded.front() == packet, "a packet did not survive encoding");
        CheckBody(packet);
    }
    return 0;
}
