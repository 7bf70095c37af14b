#pragma once
#include <cstdint>
#include <string>

namespace hh {

// Blocking network primitives; the ping command runs them off the UI thread.
class HostResolver {
  public:
    virtual ~HostResolver() = default;
    // Dotted IPv4 text of the first address of the host, or "-1".
    virtual std::string resolveIPv4(const std::string& name) = 0;
};

struct EchoOutcome {
    enum Kind { Reply, TimedOut, Failed, NoSocket } kind = Failed;
    int roundTripMs = 0;   // for Reply
    std::string detail;    // words for Failed and NoSocket
};

class IcmpEcho {
  public:
    virtual ~IcmpEcho() = default;
    // One echo request with the given payload; waits at most timeoutMs.
    virtual EchoOutcome echo(const std::string& dottedIPv4, const std::string& payload,
                             int timeoutMs) = 0;
};

} // namespace hh
