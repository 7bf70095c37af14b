#include "platform/posix/IcmpPacket.h"

namespace hh::icmp {

namespace {

constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::size_t kHeaderSize = 8; // type, code, checksum, id, sequence
constexpr std::size_t kMinIpHeader = 20;

std::uint16_t read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// Length of the IPv4 header at `p`, or 0 when it is not a plausible one.
std::size_t ipHeaderSize(const std::uint8_t* p, std::size_t size) {
    if (size < kMinIpHeader || (p[0] >> 4) != 4)
        return 0;
    const std::size_t length = static_cast<std::size_t>(p[0] & 0x0F) * 4;
    return length >= kMinIpHeader && length <= size ? length : 0;
}

bool sameRequest(const std::uint8_t* header, bool checkId, std::uint16_t id,
                 std::uint16_t sequence) {
    return (!checkId || read16(header + 4) == id) && read16(header + 6) == sequence;
}

} // namespace

std::uint16_t checksum(const std::uint8_t* data, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += read16(data + i);
    if (size % 2)
        sum += static_cast<std::uint32_t>(data[size - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

std::vector<std::uint8_t> echoRequest(std::uint16_t id, std::uint16_t sequence,
                                      std::string_view payload) {
    std::vector<std::uint8_t> packet(kHeaderSize + payload.size(), 0);
    packet[0] = kEchoRequest;
    packet[4] = static_cast<std::uint8_t>(id >> 8);
    packet[5] = static_cast<std::uint8_t>(id);
    packet[6] = static_cast<std::uint8_t>(sequence >> 8);
    packet[7] = static_cast<std::uint8_t>(sequence);
    for (std::size_t i = 0; i < payload.size(); ++i)
        packet[kHeaderSize + i] = static_cast<std::uint8_t>(payload[i]);
    const std::uint16_t sum = checksum(packet.data(), packet.size());
    packet[2] = static_cast<std::uint8_t>(sum >> 8);
    packet[3] = static_cast<std::uint8_t>(sum);
    return packet;
}

Seen classify(const std::uint8_t* packet, std::size_t size, bool withIpHeader, bool checkId,
              std::uint16_t id, std::uint16_t sequence) {
    if (withIpHeader) {
        const std::size_t skip = ipHeaderSize(packet, size);
        if (skip == 0)
            return {};
        packet += skip;
        size -= skip;
    }
    if (size < kHeaderSize)
        return {};
    const std::uint8_t type = packet[0];
    if (type == kEchoReply)
        return sameRequest(packet, checkId, id, sequence) ? Seen{Seen::Reply, {}} : Seen{};
    if (type == kEchoRequest)
        return {};
    // An error quotes the offending IP header and the first 8 bytes of our request.
    const std::uint8_t* quoted = packet + kHeaderSize;
    const std::size_t quotedSize = size - kHeaderSize;
    const std::size_t quotedIp = ipHeaderSize(quoted, quotedSize);
    if (quotedIp == 0 || quotedSize - quotedIp < kHeaderSize)
        return {};
    const std::uint8_t* request = quoted + quotedIp;
    if (request[0] != kEchoRequest || !sameRequest(request, checkId, id, sequence))
        return {};
    std::string words = errorWords(type, packet[1]);
    if (words.empty())
        return {};
    return {Seen::Error, std::move(words)};
}

std::string errorWords(std::uint8_t type, std::uint8_t code) {
    switch (type) {
    case 3:
        switch (code) {
        case 0:
        case 6:
            return "Destination Net Unreachable";
        case 1:
        case 7:
            return "Destination Host Unreachable";
        case 2:
            return "Destination Protocol Unreachable";
        case 3:
            return "Destination Port Unreachable";
        case 4:
            return "Packet Too Big";
        case 9:
        case 10:
        case 13:
            return "Communication Administratively Prohibited";
        default:
            return "Destination Unreachable";
        }
    case 4:
        return "Source Quench";
    case 11:
        return code == 0 ? "TTL Expired in Transit" : "Fragment Reassembly Time Exceeded";
    case 12:
        return "Parameter Problem";
    default:
        return {};
    }
}

} // namespace hh::icmp
