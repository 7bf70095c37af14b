#include "platform/posix/PosixNet.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <memory>

namespace hh {

std::string PosixHostResolver::resolveIPv4(const std::string& name) {
    // A NUL inside would silently shorten the name the resolver sees.
    if (name.empty() || name.find('\0') != std::string::npos)
        return "-1";
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM; // one entry per address instead of one per socket kind
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
        return "-1";
    std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
    if (found->ai_family != AF_INET || found->ai_addrlen < sizeof(sockaddr_in))
        return "-1";
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    if (!inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
        return "-1";
    return text;
}

} // namespace hh
