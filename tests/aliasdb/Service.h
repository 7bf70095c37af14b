#pragma once
// The service on 127.0.0.1 for tests: a blocking raw-bytes client, and the
// service itself running in this process on a free port over an SQLite file.
#include "AliasService.h"
#include "HttpServer.h"
#include "SqliteStore.h"

#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <stdexcept>
#include <thread>

namespace hh::aliasdb::test {

inline int connectLocal(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0)
        return fd;
    ::close(fd);
    return -1;
}

struct Reply {
    int status = 0; // 0 when no answer came
    std::string head, body;
};

// Sends `bytes` and reads until the server closes (or is silent for 5 s).
inline Reply sendRaw(int port, const std::string& bytes) {
    const int fd = connectLocal(port);
    if (fd < 0)
        return {};
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break; // the server may answer early (413) and stop reading
        sent += static_cast<std::size_t>(n);
    }
    timeval limit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string raw;
    char chunk[65536];
    for (ssize_t n; (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
        raw.append(chunk, static_cast<std::size_t>(n));
    ::close(fd);
    const auto headEnd = raw.find("\r\n\r\n");
    if (raw.rfind("HTTP/1.1 ", 0) != 0 || headEnd == std::string::npos)
        return {};
    return {std::stoi(raw.substr(9, 3)), raw.substr(0, headEnd), raw.substr(headEnd + 4)};
}

inline Reply httpGet(int port, const std::string& target) {
    return sendRaw(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

inline Reply httpPost(int port, const std::string& target, const std::string& body) {
    return sendRaw(port, "POST " + target + " HTTP/1.1\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\n\r\n" + body);
}

class RunningService {
  public:
    static constexpr std::int64_t kNow = 1796479200; // 2026-12-05T14:00:00Z

    explicit RunningService(ServerOptions options = {}, SqliteOptions storeOptions = {}) {
        std::string error;
        store_ = SqliteStore::open(temp_ / "aliases.sqlite", error, storeOptions);
        if (!store_)
            throw std::runtime_error(error);
        service_ = std::make_unique<AliasService>(*store_, [] { return kNow; });
        options.port = 0;
        server_ = std::make_unique<HttpServer>(
            options, [this](const HttpRequest& r) { return service_->handle(r); },
            [this](const std::string& line) {
                std::lock_guard lock(logLock_);
                log_.push_back(line);
            });
        if (!server_->listen(error))
            throw std::runtime_error(error);
        thread_ = std::thread([this] { server_->run(); });
    }
    ~RunningService() {
        server_->stop();
        thread_.join();
    }
    int port() const { return server_->port(); }
    SqliteStore& store() { return *store_; }
    std::vector<AliasRow> aliases(const std::string& guid, std::size_t limit = 10) {
        std::vector<AliasRow> rows;
        std::string error;
        EXPECT_TRUE(store_->aliasesOf(guid, limit, rows, error)) << error;
        return rows;
    }
    std::vector<std::string> logLines() {
        std::lock_guard lock(logLock_);
        return log_;
    }

  private:
    hh::test::TempDir temp_;
    std::unique_ptr<SqliteStore> store_;
    std::unique_ptr<AliasService> service_;
    std::unique_ptr<HttpServer> server_;
    std::thread thread_;
    std::mutex logLock_;
    std::vector<std::string> log_;
};

} // namespace hh::aliasdb::test
