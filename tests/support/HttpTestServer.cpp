#include "support/HttpTestServer.h"

#include "common/Strings.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace hh::test {
namespace {

constexpr int kSliceMs = 20;                  // how often blocked loops look at `stopping`
constexpr std::size_t kMaxHead = 64 * 1024;   // request line and headers
constexpr std::size_t kMaxBody = 1024 * 1024; // request body
constexpr std::size_t kChunk = 64 * 1024;     // filler written per send

// Clients read the status code; the phrase only has to be present.
const char* reason(int status) {
    return status < 300 ? "OK" : status < 400 ? "Redirect" : "Error";
}

// Waits until `fd` is ready for `events`, a slice at a time so that a
// stopping server never stays blocked. False when stopping or on error.
bool waitFor(int fd, short events, const std::atomic<bool>& stopping) {
    while (!stopping) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, kSliceMs);
        if (n > 0)
            return (p.revents & (POLLERR | POLLNVAL)) == 0 || (p.revents & events) != 0;
        if (n < 0 && errno != EINTR)
            return false;
    }
    return false;
}

bool sendAll(int fd, std::string_view data, const std::atomic<bool>& stopping) {
    while (!data.empty()) {
        if (!waitFor(fd, POLLOUT, stopping))
            return false;
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Reads one request; false when the client went away or sent too much.
bool readRequest(int fd, HttpRequest& request, const std::atomic<bool>& stopping) {
    std::string data;
    char buffer[4096];
    std::size_t headEnd = std::string::npos;
    std::size_t bodyLength = 0;
    for (;;) {
        if (headEnd == std::string::npos) {
            headEnd = data.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                const std::string head = data.substr(0, headEnd);
                const auto lineEnd = head.find("\r\n");
                const std::string requestLine = head.substr(0, lineEnd);
                const auto sp1 = requestLine.find(' ');
                const auto sp2 = requestLine.find(' ', sp1 + 1);
                if (sp1 == std::string::npos || sp2 == std::string::npos)
                    return false;
                request.method = requestLine.substr(0, sp1);
                request.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
                std::size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
                while (pos < head.size()) {
                    auto end = head.find("\r\n", pos);
                    if (end == std::string::npos)
                        end = head.size();
                    const std::string line = head.substr(pos, end - pos);
                    const auto colon = line.find(':');
                    if (colon != std::string::npos) {
                        std::string value = line.substr(colon + 1);
                        value.erase(0, value.find_first_not_of(' '));
                        request.headers[hh::toLower(line.substr(0, colon))] = value;
                    }
                    pos = end + 2;
                }
                const auto length = request.headers.find("content-length");
                if (length != request.headers.end())
                    bodyLength = std::strtoull(length->second.c_str(), nullptr, 10);
                if (bodyLength > kMaxBody)
                    return false;
            } else if (data.size() > kMaxHead) {
                return false;
            }
        }
        if (headEnd != std::string::npos && data.size() >= headEnd + 4 + bodyLength) {
            request.body = data.substr(headEnd + 4, bodyLength);
            return true;
        }
        if (!waitFor(fd, POLLIN, stopping))
            return false;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.append(buffer, static_cast<std::size_t>(n));
    }
}

// A negative length leaves Content-Length out.
std::string responseHead(const HttpReply& reply, long long contentLength) {
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reason(reply.status) +
                       "\r\nContent-Type: " + reply.contentType + "\r\nConnection: close\r\n";
    if (contentLength >= 0)
        head += "Content-Length: " + std::to_string(contentLength) + "\r\n";
    for (const auto& [name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    return head + "\r\n";
}

} // namespace

HttpTestServer::HttpTestServer(std::function<HttpReply(const HttpRequest&)> handler)
    : handler_(std::move(handler)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        throw std::runtime_error("test server: no socket");
    const int on = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

HttpTestServer::~HttpTestServer() {
    stopping_ = true;
    ::shutdown(listenFd_, SHUT_RDWR);
    thread_.join();
    for (auto& worker : workers_)
        worker.thread.join();
    ::close(listenFd_);
}

std::string HttpTestServer::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<HttpRequest> HttpTestServer::requests() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return requests_;
}

void HttpTestServer::serve() {
    while (waitFor(listenFd_, POLLIN, stopping_)) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        std::erase_if(workers_, [](Worker& w) {
            if (!*w.done)
                return false;
            w.thread.join();
            return true;
        });
        auto done = std::make_shared<std::atomic<bool>>(false);
        workers_.push_back({std::thread([this, fd, done] {
                                handleConnection(fd);
                                ::close(fd);
                                *done = true;
                            }),
                            done});
    }
}

void HttpTestServer::handleConnection(int fd) {
    HttpRequest request;
    if (!readRequest(fd, request, stopping_))
        return;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        requests_.push_back(request);
    }
    const HttpReply reply = handler_(request);
    switch (reply.behaviour) {
    case HttpReply::Behaviour::Normal:
        sendAll(fd, responseHead(reply, static_cast<long long>(reply.body.size())) + reply.body,
                stopping_);
        break;
    case HttpReply::Behaviour::NeverAnswer: {
        // Hold the connection until the client gives up or the server stops.
        char byte;
        while (waitFor(fd, POLLIN, stopping_) && ::recv(fd, &byte, 1, 0) > 0) {
        }
        break;
    }
    case HttpReply::Behaviour::CloseEarly:
        sendAll(fd,
                responseHead(reply, static_cast<long long>(reply.body.size())) +
                    reply.body.substr(0, reply.body.size() / 2),
                stopping_);
        break;
    case HttpReply::Behaviour::Trickle: {
        const std::string all =
            responseHead(reply, static_cast<long long>(reply.body.size())) + reply.body;
        for (char c : all) {
            if (!sendAll(fd, std::string_view(&c, 1), stopping_))
                break;
            const auto until =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(reply.trickleMs);
            while (!stopping_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        break;
    }
    case HttpReply::Behaviour::Huge: {
        if (!sendAll(fd, responseHead(reply, reply.announceLength ? reply.hugeBytes : -1),
                     stopping_))
            break;
        const std::string filler(kChunk, 'x');
        for (long long left = reply.hugeBytes; left > 0;) {
            const auto n = static_cast<std::size_t>(std::min<long long>(left, kChunk));
            if (!sendAll(fd, std::string_view(filler).substr(0, n), stopping_))
                break;
            left -= static_cast<long long>(n);
        }
        break;
    }
    }
    ::shutdown(fd, SHUT_WR);
}

} // namespace hh::test
