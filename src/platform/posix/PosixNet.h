#pragma once
// Name resolution and ICMP echo on POSIX systems (Linux first).
#include "platform/Net.h"

namespace hh {

// getaddrinfo for IPv4 only; any failure is "-1". Blocks as long as the
// system resolver does (10 s with a silent server): call it off the UI thread.
class PosixHostResolver : public HostResolver {
  public:
    std::string resolveIPv4(const std::string& name) override;
};

// One echo request per call, on a socket of its own, so calls from several
// threads never see each other's replies.
//
// An unprivileged ICMP datagram socket is used where net.ipv4.ping_group_range
// allows it, else a raw socket (root or cap_net_raw); with neither the answer
// is NoSocket with advice in `detail`. Round trips are whole milliseconds,
// truncated: a sub-millisecond reply (loopback) counts as 0, as the Windows
// ICMP library reports it.
class PosixIcmpEcho : public IcmpEcho {
  public:
    EchoOutcome echo(const std::string& dottedIPv4, const std::string& payload,
                     int timeoutMs) override;
};

} // namespace hh
