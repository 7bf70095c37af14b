#pragma once
// Name resolution (getaddrinfo) and ICMP echo (the ICMP helper library).
#include "platform/Net.h"

namespace hh {

// IPv4 only; any failure is "-1". Blocks as long as the system resolver
// does: call it off the UI thread.
class Win32HostResolver : public HostResolver {
  public:
    Win32HostResolver();
    ~Win32HostResolver() override;
    std::string resolveIPv4(const std::string& name) override;

  private:
    bool started_ = false;
};

// One IcmpSendEcho2 per call on a handle of its own, so calls from several
// threads never share state. Round trips are whole milliseconds, as the
// library reports them (0 for loopback).
class Win32IcmpEcho : public IcmpEcho {
  public:
    EchoOutcome echo(const std::string& dottedIPv4, const std::string& payload,
                     int timeoutMs) override;
};

} // namespace hh
