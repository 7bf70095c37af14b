#include "support/RawHttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hh::test {

int connectLocal(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // A full accept queue drops the handshake; do not wait for its retries.
    timeval limit{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

Reply sendRaw(int port, const std::string& bytes, std::chrono::milliseconds wait) {
    const int fd = connectLocal(port);
    if (fd < 0)
        return {};
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break; // the server may answer early (413) and stop reading
        sent += static_cast<std::size_t>(n);
    }
    std::string raw;
    char chunk[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0)
            break;
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            break;
        raw.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    const auto headEnd = raw.find("\r\n\r\n");
    if (raw.rfind("HTTP/1.", 0) != 0 || raw.size() < 12 || headEnd == std::string::npos)
        return {};
    return {std::stoi(raw.substr(9, 3)), raw.substr(0, headEnd), raw.substr(headEnd + 4)};
}

std::string requestBytes(int port, const std::string& method, const std::string& target,
                         const std::string& credential, const std::string& body,
                         const std::string& contentType) {
    std::string r = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                    "\r\nConnection: close\r\n";
    if (!credential.empty())
        r += "Authorization: Bearer " + credential + "\r\n";
    if (method == "POST")
        r += "Content-Type: " + contentType + "\r\nContent-Length: " + std::to_string(body.size()) +
             "\r\n";
    return r + "\r\n" + body;
}

} // namespace hh::test
