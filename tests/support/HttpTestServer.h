#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests. Each route answers with a
// canned response or with a behaviour that a hostile or broken server shows.
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hh::test {

struct HttpReply {
    int status = 200;
    std::string contentType = "text/html";
    std::string body;
    std::map<std::string, std::string> headers; // extra headers (Location, ...)
    enum class Behaviour {
        Normal,      // send status, headers and body
        NeverAnswer, // read the request, then send nothing until stopped
        CloseEarly,  // send headers announcing the body, half the body, then close
        Trickle,     // send the response one byte every `trickleMs`
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
    // `handler` runs on a connection's thread for every request (one request
    // per connection). The destructor stops every behaviour and joins.
    explicit HttpTestServer(std::function<HttpReply(const HttpRequest&)> handler);
    ~HttpTestServer();
    int port() const { return port_; }
    std::string baseUrl() const; // "http://127.0.0.1:<port>"
    std::vector<HttpRequest> requests() const;

  private:
    void serve();
    void handleConnection(int fd);

    std::function<HttpReply(const HttpRequest&)> handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Worker> workers_; // finished ones are joined at the next connection
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
};

} // namespace hh::test
