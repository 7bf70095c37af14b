#pragma once
// A blocking raw-bytes HTTP client for 127.0.0.1: tests and benchmarks send
// exactly the bytes they mean, well-formed or hostile.
#include <chrono>
#include <string>

namespace hh::test {

// A connected TCP socket to 127.0.0.1:port, or -1.
int connectLocal(int port);

struct Reply {
    int status = 0; // 0 when no answer came
    std::string head, body;
};

// Sends `bytes` and reads until the server closes or is silent for `wait`.
Reply sendRaw(int port, const std::string& bytes,
              std::chrono::milliseconds wait = std::chrono::seconds(5));

// A request with the headers a well-behaved local client sends: Host (the
// loopback address and port), and the credential when one is given.
std::string requestBytes(int port, const std::string& method, const std::string& target,
                         const std::string& credential, const std::string& body = {},
                         const std::string& contentType = "application/json");

} // namespace hh::test
