// The RCON packet decoder on a byte stream cut into chunks: byte 0 sets the chunk
// length. Every packet it gives must encode back to a packet it gives again, and
// once it refuses the stream it takes nothing more.
#include <cstdint>
#include <deque>
#include <string_view>

#include "fuzz/invariants.h"
#include "rcon/protocol.h"

using kestrova::fuzz::Require;
using sim::rcon::Packet;
using sim::rcon::PacketDecoder;

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
    }
    return 0;
}
