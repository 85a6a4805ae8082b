// The Source RCON wire format: a little-endian int32 size, the request id, the
// type, the body and two NULs, where the size counts everything after itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace sim::rcon {

// Packet types. Requests and the authentication answer share the value 2.
inline constexpr std::int32_t kResponseValue = 0;
inline constexpr std::int32_t kExecCommand = 2;
inline constexpr std::int32_t kAuthResponse = 2;
inline constexpr std::int32_t kAuth = 3;

// Bounds of the size field: id, type and the two NULs at least.
inline constexpr std::int32_t kMinPacketSize = 10;
inline constexpr std::int32_t kMaxPacketSize = 4096;

// What a packet adds to its body: size, id, type and the two NULs.
inline constexpr std::size_t kPacketOverhead = 14;

// The longest reply body sent in one packet; longer replies go out in pieces.
inline constexpr std::size_t kMaxReplyBody = 3690;
static_assert(kPacketOverhead + kMaxReplyBody <= static_cast<std::size_t>(kMaxPacketSize));

struct Packet {
    std::int32_t id = 0;
    std::int32_t type = 0;
    std::string body;  // bytes as sent, without the NULs

    bool operator==(const Packet&) const = default;
};

// A little-endian int32, as the size, id and type fields are sent.
std::int32_t ReadInt32(const unsigned char* bytes);

// One whole packet, header and body in one buffer, so that it can go out in one write.
std::string EncodePacket(const Packet& packet);

// The bodies of the packets that carry a reply: one when it fits, else pieces that
// never cut a UTF-8 sequence apart.
std::vector<std::string> SplitReply(std::string_view body);

// Reassembles packets from a byte stream that arrives in chunks of any length.
class PacketDecoder {
public:
    // Takes the next bytes of the stream and appends every packet they complete to
    // `out`. False when the stream is malformed: the connection must then be dropped,
    // and the decoder takes nothing more.
    bool Feed(std::string_view bytes, std::deque<Packet>& out);

private:
    std::array<unsigned char, 4> sizeField_{};
    std::size_t sizeBytes_ = 0;  // how much of the size field has arrived
    std::size_t size_ = 0;       // the current packet's size, once its field is whole
    std::string frame_;          // what has arrived of the current packet after its size
    bool failed_ = false;
};

}  // namespace sim::rcon
