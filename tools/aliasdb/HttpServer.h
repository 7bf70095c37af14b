#pragma once
// The service's HTTP transport, on Boost.Beast. One thread runs the reads and
// writes of every connection as events, so a client that sends slowly or not
// at all costs a socket and a small buffer, never a thread; a few worker
// threads run the routes. One request per connection.
//
// A connection is bounded in time and in number:
//   - its request head must be complete `headTimeoutMs` after the accept;
//   - its body must arrive at `minBodyBytesPerSecond` (after a second of
//     grace), and the whole request within `requestTimeoutMs`;
//   - at `maxConnections`, a newcomer takes the slot of the oldest connection
//     that is still sending or being refused (a request in a route is never
//     cut); only when every slot is in a route is the newcomer refused (503).
// Who may ask is checked on the request head (RequestGuard.h). A refusal is
// written in full and what the client still sends is read and dropped for a
// moment, so that the answer arrives rather than a reset.
#include "HttpMessage.h"
#include "RequestLog.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hh::aliasdb {

struct ServerOptions {
    std::string host = "127.0.0.1"; // an IPv4 address
    int port = 0;                   // 0 picks a free port
    std::size_t maxHeadBytes = 16 * 1024;
    std::size_t maxBodyBytes = 1024 * 1024;
    int headTimeoutMs = 3000;
    int requestTimeoutMs = 10000;
    std::size_t minBodyBytesPerSecond = 64 * 1024;
    std::size_t maxConnections = 64;
    std::string credential; // what clients must send as "Authorization: Bearer"
};

using RequestHandler = std::function<HttpResponse(const HttpRequest&)>;

class HttpServer {
  public:
    // One worker thread per handler; each handler is only ever called on its
    // own thread, so it may own a database connection.
    HttpServer(ServerOptions options, std::vector<RequestHandler> workers, LogSink log);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds and listens; false with a reason (address in use, bad address).
    bool listen(std::string& error);
    int port() const;
    // Serves until stop(); then the requests in routes are answered, clients
    // still sending are cut off, and run() returns.
    void run();
    // Safe from any thread, not from a signal handler.
    void stop();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace hh::aliasdb
