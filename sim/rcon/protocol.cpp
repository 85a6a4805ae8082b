#include "rcon/protocol.h"

#include <algorithm>

#include "rcon/utf8.h"

namespace sim::rcon {

std::int32_t ReadInt32(const unsigned char* bytes)
{
    const std::uint32_t bits = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                               (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
    return static_cast<std::int32_t>(bits);
}

namespace {

void AppendInt32(std::string& out, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
}

Packet ParseFrame(std::string_view frame)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(frame.data());
    Packet packet{ReadInt32(bytes), ReadInt32(bytes + 4), {}};
    std::string_view body = frame.substr(8);
    // Clients differ in how many NULs they send; the body ends at the first.
    body = body.substr(0, body.find('\0'));
    packet.body.assign(body);
    return packet;
}

}  // namespace

std::string EncodePacket(const Packet& packet)
{
    std::string out;
    out.reserve(kPacketOverhead + packet.body.size());
    AppendInt32(out, static_cast<std::int32_t>(packet.body.size() + kPacketOverhead - 4));
    AppendInt32(out, packet.id);
    AppendInt32(out, packet.type);
    out += packet.body;
    out.append(2, '\0');
    return out;
}

std::vector<std::string> SplitReply(std::string_view body)
{
    std::vector<std::string> pieces;
    do {
        std::size_t take = body.size();
        if (take > kMaxReplyBody)
            take = Utf8Boundary(body, kMaxReplyBody);
        pieces.emplace_back(body.substr(0, take));
        body.remove_prefix(take);
    } while (!body.empty());
    return pieces;
}

bool PacketDecoder::Feed(std::string_view bytes, std::deque<Packet>& out)
{
    while (!failed_ && !bytes.empty()) {
        if (sizeBytes_ < sizeField_.size()) {
            sizeField_[sizeBytes_++] = static_cast<unsigned char>(bytes.front());
            bytes.remove_prefix(1);
            if (sizeBytes_ < sizeField_.size())
                continue;
            // Checked before anything is allocated for the packet.
            const std::int32_t size = ReadInt32(sizeField_.data());
            if (size < kMinPacketSize || size > kMaxPacketSize) {
                failed_ = true;
                break;
            }
            size_ = static_cast<std::size_t>(size);
            frame_.clear();
            frame_.reserve(size_);
            continue;
        }
        const std::size_t take = std::min(bytes.size(), size_ - frame_.size());
        frame_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (frame_.size() == size_) {
            out.push_back(ParseFrame(frame_));
            sizeBytes_ = 0;
        }
    }
    return !failed_;
}

}  // namespace sim::rcon
