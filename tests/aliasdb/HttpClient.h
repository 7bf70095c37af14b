#pragma once
// A blocking HTTP client for tests: sends raw bytes to 127.0.0.1 and reads
// the answer until the server closes, within a time limit.
#include <string>

namespace hh::aliasdb::test {

struct Reply {
    int status = 0; // 0 when no answer came
    std::string head;
    std::string body;
};

Reply sendRaw(int port, const std::string& bytes, int timeoutMs = 5000);
Reply httpGet(int port, const std::string& target);
Reply httpPost(int port, const std::string& target, const std::string& body);

} // namespace hh::aliasdb::test
