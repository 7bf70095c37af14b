#include "HttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace hh::aliasdb {

namespace {

using Clock = std::chrono::steady_clock;

// How often a waiting connection looks at the stop flag.
constexpr int kSliceMs = 100;

std::string printable(std::string_view text, std::size_t cap = 200) {
    std::string out;
    for (char c : text.substr(0, cap))
        out += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (text.size() > cap)
        out += "...";
    return out;
}

} // namespace

struct HttpServer::Connection {
    int fd = -1;
    std::string peer;
    Clock::time_point deadline;
    Clock::time_point started;
    std::thread thread;
    std::atomic<bool> done{false};

    ~Connection() {
        if (thread.joinable())
            thread.join();
        if (fd >= 0)
            ::close(fd);
    }
};

HttpServer::HttpServer(ServerOptions options, RequestHandler handler, LogSink log)
    : options_(std::move(options)), handler_(std::move(handler)), log_(std::move(log)) {}

HttpServer::~HttpServer() {
    stop();
    reapFinished(true);
    for (int fd : {listenFd_, wakeFds_[0], wakeFds_[1]})
        if (fd >= 0)
            ::close(fd);
}

bool HttpServer::listen(std::string& error) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(options_.port));
    if (options_.port < 0 || options_.port > 65535 ||
        inet_pton(AF_INET, options_.host.c_str(), &addr.sin_addr) != 1) {
        error =
            "not an IPv4 address and port: " + options_.host + ":" + std::to_string(options_.port);
        return false;
    }
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (listenFd_ < 0 || ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 128) != 0 || ::pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = "cannot listen on " + options_.host + ":" + std::to_string(options_.port) + ": " +
                std::strerror(errno);
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    return true;
}

void HttpServer::stop() {
    stopping_ = true;
    if (wakeFds_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] auto n = ::write(wakeFds_[1], &byte, 1);
    }
}

void HttpServer::run() {
    while (!stopping_) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, 500);
        reapFinished(false);
        if (ready <= 0 || !(fds[0].revents & POLLIN))
            continue;
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &len,
                                 SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            continue;
        char ip[INET_ADDRSTRLEN] = "?";
        ::inet_ntop(AF_INET, &peer.sin_addr, ip, sizeof ip);

        std::lock_guard lock(mutex_);
        if (connections_.size() >= options_.maxConnections) {
            // Refused at once rather than queued: a queue would only hide the overload.
            const std::string busy =
                serializeResponse(textResponse(503, "too many connections, try again"));
            [[maybe_unused]] auto n = ::send(fd, busy.data(), busy.size(), MSG_NOSIGNAL);
            ::close(fd);
            if (log_)
                log_(std::string(ip) + " - 503 too many connections");
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        c->peer = ip;
        c->started = Clock::now();
        c->deadline = c->started + std::chrono::milliseconds(options_.requestTimeoutMs);
        Connection& ref = *c;
        connections_.push_back(std::move(c));
        ref.thread = std::thread([this, &ref] {
            serve(ref);
            ::close(ref.fd); // now, not when reaped: the client waits for the close
            ref.fd = -1;
            ref.done = true;
        });
    }
    reapFinished(true);
}

void HttpServer::reapFinished(bool all) {
    std::list<std::unique_ptr<Connection>> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            auto next = std::next(it);
            if (all || (*it)->done)
                finished.splice(finished.end(), connections_, it);
            it = next;
        }
    }
    finished.clear(); // joins outside the lock
}

bool HttpServer::readRequest(Connection& c, HttpRequest& request, HttpResponse& refusal) {
    std::string buffer;
    std::size_t headEnd = std::string::npos;
    const auto fill = [&](std::size_t want) -> int { // 1 read, 0 closed, -1 timed out or stopping
        while (!stopping_) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(c.deadline - Clock::now());
            if (left.count() <= 0)
                return -1;
            pollfd p{c.fd, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), kSliceMs))) <= 0)
                continue;
            char chunk[8192];
            const ssize_t n = ::recv(c.fd, chunk, std::min(sizeof chunk, want), 0);
            if (n > 0) {
                buffer.append(chunk, static_cast<std::size_t>(n));
                return 1;
            }
            if (n == 0)
                return 0;
            if (errno != EAGAIN && errno != EINTR)
                return 0;
        }
        return -1;
    };
    const auto failed = [&](int got) {
        if (got < 0 && !stopping_)
            refusal = textResponse(408, "the request took too long");
        return false;
    };

    while (headEnd == std::string::npos) {
        const std::size_t searchFrom = buffer.size() < 3 ? 0 : buffer.size() - 3;
        if (const int got = fill(8192); got <= 0)
            return failed(got);
        headEnd = buffer.find("\r\n\r\n", searchFrom);
        if ((headEnd == std::string::npos ? buffer.size() : headEnd) > options_.maxHeadBytes) {
            refusal = textResponse(431, "request line and headers exceed " +
                                            std::to_string(options_.maxHeadBytes) + " bytes");
            return false;
        }
    }
    const HeadParse head = parseRequestHead(std::string_view(buffer).substr(0, headEnd), request);
    if (!head.ok) {
        refusal = textResponse(head.status, head.error);
        return false;
    }
    if (request.contentLength > options_.maxBodyBytes) {
        refusal = textResponse(413, "request body exceeds " +
                                        std::to_string(options_.maxBodyBytes) + " bytes");
        return false;
    }
    buffer.erase(0, headEnd + 4);
    while (buffer.size() < request.contentLength)
        if (const int got = fill(request.contentLength - buffer.size()); got <= 0)
            return failed(got);
    buffer.resize(request.contentLength);
    request.body = std::move(buffer);
    return true;
}

void HttpServer::respond(Connection& c, const HttpRequest& request, const HttpResponse& response) {
    const std::string bytes = serializeResponse(response);
    std::size_t sent = 0;
    // Writing gets a time of its own: a 408 is sent just when the read time is up.
    const auto until = Clock::now() + std::chrono::milliseconds(options_.requestTimeoutMs);
    while (sent < bytes.size() && Clock::now() < until) {
        pollfd p{c.fd, POLLOUT, 0};
        if (::poll(&p, 1, kSliceMs) <= 0)
            continue;
        const ssize_t n = ::send(c.fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        if (n > 0)
            sent += static_cast<std::size_t>(n);
    }
    if (!log_)
        return;
    const auto ms = std::chrono::duration<double, std::milli>(Clock::now() - c.started).count();
    char took[32];
    std::snprintf(took, sizeof took, "%.1fms", ms);
    const std::string line = request.method.empty() ? "-"
                                                    : "\"" + printable(request.method) + " " +
                                                          printable(request.target) + "\"";
    log_(c.peer + " " + line + " " + std::to_string(response.status) + " " +
         std::to_string(response.body.size()) + " " + took);
}

void HttpServer::serve(Connection& c) {
    HttpRequest request;
    HttpResponse refusal;
    refusal.status = 0;
    if (readRequest(c, request, refusal)) {
        HttpResponse response;
        try {
            response = handler_(request);
        } catch (const std::exception& e) {
            response = textResponse(500, std::string("internal error: ") + e.what());
        }
        respond(c, request, response);
        return;
    }
    if (refusal.status == 0)
        return; // the client went away or we are stopping: nobody to answer
    respond(c, request, refusal);
    // The unread rest of the request would make close() send a reset, which
    // can destroy the answer before the client reads it: let it drain briefly.
    ::shutdown(c.fd, SHUT_WR);
    const auto until = Clock::now() + std::chrono::milliseconds(500);
    char sink[8192];
    while (Clock::now() < until) {
        pollfd p{c.fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            break; // nothing more in flight
        const ssize_t n = ::recv(c.fd, sink, sizeof sink, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            break;
    }
}

} // namespace hh::aliasdb
