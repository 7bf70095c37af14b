#pragma once
// A small threaded HTTP server on POSIX sockets: one thread per connection,
// at most `maxConnections` of them, one request per connection. Every read
// and write runs against the request's deadline, so a slow or silent client
// costs a thread for `requestTimeoutMs` at most.
#include "HttpMessage.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>

namespace hh::aliasdb {

struct ServerOptions {
    std::string host = "127.0.0.1"; // an IPv4 address
    int port = 27995;               // 0 picks a free port
    std::size_t maxHeadBytes = 16 * 1024;
    std::size_t maxBodyBytes = 1024 * 1024;
    int requestTimeoutMs = 10000;
    std::size_t maxConnections = 64;
};

using RequestHandler = std::function<HttpResponse(const HttpRequest&)>;
using LogSink = std::function<void(const std::string& line)>;

class HttpServer {
  public:
    HttpServer(ServerOptions options, RequestHandler handler, LogSink log);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds and listens; false with a reason (address in use, bad address).
    bool listen(std::string& error);
    int port() const { return port_; }
    // Serves until stop(); then waits for the open connections: requests
    // being handled finish, clients still sending are cut off.
    void run();
    // Safe from any thread, not from a signal handler.
    void stop();

  private:
    struct Connection;
    void serve(Connection& c);
    bool readRequest(Connection& c, HttpRequest& request, HttpResponse& refusal);
    void respond(Connection& c, const HttpRequest& request, const HttpResponse& response);
    void reapFinished(bool all);

    ServerOptions options_;
    RequestHandler handler_;
    LogSink log_;
    int listenFd_ = -1;
    int wakeFds_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::list<std::unique_ptr<Connection>> connections_;
};

} // namespace hh::aliasdb
