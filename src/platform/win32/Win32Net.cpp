#include "platform/win32/Win32Net.h"

#include "platform/win32/WideText.h"

// Order matters: winsock2 before the IP helper, the IP helper before ICMP.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>

#include <icmpapi.h>

#include <vector>

namespace hh {

Win32HostResolver::Win32HostResolver() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32HostResolver::~Win32HostResolver() {
    if (started_)
        WSACleanup();
}

std::string Win32HostResolver::resolveIPv4(const std::string& name) {
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    ADDRINFOW* found = nullptr;
    if (!started_ || name.empty() ||
        GetAddrInfoW(wideFromUtf8(name).c_str(), nullptr, &hints, &found) != 0 || !found)
        return "-1";
    wchar_t text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = InetNtopW(AF_INET, &address->sin_addr, text, INET_ADDRSTRLEN) != nullptr;
    FreeAddrInfoW(found);
    return ok ? utf8FromWide(text) : "-1";
}

EchoOutcome Win32IcmpEcho::echo(const std::string& dottedIPv4, const std::string& payload,
                                int timeoutMs) {
    EchoOutcome outcome;
    IN_ADDR target{};
    if (InetPtonW(AF_INET, wideFromUtf8(dottedIPv4).c_str(), &target) != 1) {
        outcome.detail = "not an IPv4 address: " + dottedIPv4;
        return outcome;
    }
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) {
        outcome.kind = EchoOutcome::NoSocket;
        outcome.detail = "the ICMP helper could not be opened: " + systemErrorText(GetLastError());
        return outcome;
    }
    // Room for one reply with the echoed payload and an ICMP error on top.
    std::vector<unsigned char> replies(sizeof(ICMP_ECHO_REPLY) + payload.size() + 8 + 64);
    const DWORD count = IcmpSendEcho2(
        icmp, nullptr, nullptr, nullptr, target.S_un.S_addr, const_cast<char*>(payload.data()),
        static_cast<WORD>(payload.size()), nullptr, replies.data(),
        static_cast<DWORD>(replies.size()), static_cast<DWORD>(timeoutMs));
    const DWORD error = count == 0 ? GetLastError() : 0;
    IcmpCloseHandle(icmp);
    const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(replies.data());
    if (count > 0 && reply->Status == IP_SUCCESS) {
        outcome.kind = EchoOutcome::Reply;
        outcome.roundTripMs = static_cast<int>(reply->RoundTripTime);
    } else if (error == IP_REQ_TIMED_OUT || (count > 0 && reply->Status == IP_REQ_TIMED_OUT)) {
        outcome.kind = EchoOutcome::TimedOut;
    } else {
        outcome.detail =
            count > 0 ? "ICMP status " + std::to_string(reply->Status) : systemErrorText(error);
    }
    return outcome;
}

} // namespace hh
