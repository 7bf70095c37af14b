#pragma once
// An HTTP server on 127.0.0.1 for tests (cpp-httplib). Every request gets a
// canned response or a behaviour that a hostile or broken server shows.
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Response;
} // namespace httplib

namespace hh::test {

struct HttpReply {
    int status = 200;
    std::string body;
    std::map<std::string, std::string> headers; // extra headers (Location, ...)
    enum class Behaviour {
        Normal,      // send status, headers and body
        NeverAnswer, // read the request, then send nothing until stopped
        CloseEarly,  // send headers announcing the body, half the body, then close
        Trickle,     // send the headers, then the body one byte every `trickleMs`
        Huge,        // announce and stream `hugeBytes` bytes of filler
    } behaviour = Behaviour::Normal;
    int trickleMs = 1000;
    long long hugeBytes = 0;
    // Huge without a Content-Length: the body runs until the connection closes.
    bool announceLength = true;
};

struct HttpRequest {
    std::string method;
    std::string target;                         // path and query, e.g. "/?guid=1a2b3c4d"
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
};

class HttpTestServer {
  public:
    // `handler` runs on one of the server's threads for every request. The
    // destructor stops every behaviour and joins.
    explicit HttpTestServer(std::function<HttpReply(const HttpRequest&)> handler);
    ~HttpTestServer();
    int port() const { return port_; }
    std::string baseUrl() const; // "http://127.0.0.1:<port>"
    std::vector<HttpRequest> requests() const;

  private:
    void respond(const HttpReply& reply, httplib::Response& response);
    bool pause(int ms) const; // false when stopping

    std::function<HttpReply(const HttpRequest&)> handler_;
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
};

} // namespace hh::test
