#pragma once
// ICMP echo packets: building a request and recognising what comes back.
// Pure byte work, so it can be tested without sockets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hh::icmp {

// The Internet checksum (RFC 1071) of the bytes.
std::uint16_t checksum(const std::uint8_t* data, std::size_t size);

// Type 8 echo request with identifier, sequence, payload and checksum.
std::vector<std::uint8_t> echoRequest(std::uint16_t id, std::uint16_t sequence,
                                      std::string_view payload);

struct Seen {
    enum Kind { Unrelated, Reply, Error } kind = Unrelated;
    std::string words; // for Error
};

// What a received packet means for the request (id, sequence). A raw socket
// hands over the IP header too and sees every ICMP packet of the host: our
// own outgoing request on loopback, other programs' pings. A datagram socket
// hands over the ICMP message only, with the id the kernel chose, so the id
// is not checked there (`checkId` false).
Seen classify(const std::uint8_t* packet, std::size_t size, bool withIpHeader, bool checkId,
              std::uint16_t id, std::uint16_t sequence);

// Words for an ICMP error type and code ("Destination Host Unreachable");
// empty for types that are no failure of an echo (redirects).
std::string errorWords(std::uint8_t type, std::uint8_t code);

} // namespace hh::icmp
