#include "HttpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace hh::aliasdb::test {

Reply sendRaw(int port, const std::string& bytes, int timeoutMs) {
    Reply reply;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return reply;
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break; // the server may answer early (413) and stop reading
        sent += static_cast<std::size_t>(n);
    }
    std::string raw;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < until) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        char chunk[65536];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            break;
        raw.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    const auto headEnd = raw.find("\r\n\r\n");
    if (raw.rfind("HTTP/1.1 ", 0) != 0 || headEnd == std::string::npos)
        return reply;
    reply.status = std::stoi(raw.substr(9, 3));
    reply.head = raw.substr(0, headEnd);
    reply.body = raw.substr(headEnd + 4);
    return reply;
}

Reply httpGet(int port, const std::string& target) {
    return sendRaw(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

Reply httpPost(int port, const std::string& target, const std::string& body) {
    return sendRaw(port, "POST " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: " +
                             "application/json\r\nContent-Length: " + std::to_string(body.size()) +
                             "\r\n\r\n" + body);
}

} // namespace hh::aliasdb::test
