// The attacks another program on this machine, or a web page in the player's
// browser, can make on the service: one row each, over real sockets.
#include "Service.h"

#include <sys/socket.h>
#include <unistd.h>

namespace hh::aliasdb::test {
namespace {

const std::string kIntruder = R"([{"guid":"1a2b3c4d","name":"Intruder"}])";

// A POST of `body` with the given header lines (each ending in \r\n).
std::string post(const std::string& target, const std::string& headers, const std::string& body) {
    return "POST " + target + " HTTP/1.1\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(Hostile, StrangersAndWebPagesAreRefusedAndStoreNothing) {
    RunningService service;
    const std::string host = "Host: 127.0.0.1:" + std::to_string(service.port()) + "\r\n";
    const std::string owner = "Authorization: Bearer " + kCredential + "\r\n";
    const std::string json = "Content-Type: application/json\r\n";
    const struct {
        const char* attack;
        std::string request;
        int status;
    } rows[] = {
        {"no credential", post("/sightings", host + json, kIntruder), 401},
        {"a wrong credential",
         post("/sightings", host + json + "Authorization: Bearer x\r\n", kIntruder), 401},
        {"a web page's cross-origin POST",
         post("/sightings", host + owner + json + "Origin: http://example.com\r\n", kIntruder),
         403},
        {"a page's POST as text/plain, which needs no preflight",
         post("/sightings", host + owner + "Content-Type: text/plain\r\n", kIntruder), 415},
        {"DNS rebinding: a foreign name for 127.0.0.1",
         "GET /search?q=a HTTP/1.1\r\nHost: rebound.example:" + std::to_string(service.port()) +
             "\r\n" + owner + "\r\n",
         421},
        {"another port's name",
         post("/sightings", "Host: 127.0.0.1:1\r\n" + owner + json, kIntruder), 421},
    };
    // One gate guards every route, so each rule needs one route only.
    for (const auto& row : rows)
        EXPECT_EQ(sendRaw(service.port(), row.request).status, row.status) << row.attack;
    EXPECT_TRUE(service.aliases("1a2b3c4d").empty());
    // The owner gets in with the same request.
    EXPECT_EQ(httpPost(service.port(), "/sightings", kIntruder).status, 200);
}

TEST(Hostile, SlowClientsGiveWayAndAreCut) {
    ServerOptions options;
    options.maxConnections = 2;
    options.headTimeoutMs = 300;
    options.minBodyBytesPerSecond = 10000;
    RunningService service(options);
    const int silent = connectLocal(service.port());
    const int dripping = connectLocal(service.port());
    ::send(dripping, "GET / HT", 8, MSG_NOSIGNAL);
    // Both slots are held by clients still sending; a fresh one gets in.
    EXPECT_EQ(httpGet(service.port(), "/health").status, 200);
    // A head that does not come in time, and a body slower than the minimum
    // rate, end in 408 long before the 10 s a request may take.
    EXPECT_EQ(sendRaw(service.port(), "GET / HTTP/1.1\r\n").status, 408);
    const std::string head =
        post("/sightings",
             "Host: 127.0.0.1:" + std::to_string(service.port()) + "\r\nAuthorization: Bearer " +
                 kCredential + "\r\nContent-Type: application/json\r\n",
             std::string(1000, ' '));
    const auto slowBody = sendRaw(service.port(), head.substr(0, head.size() - 990));
    EXPECT_EQ(slowBody.status, 408);
    EXPECT_NE(slowBody.body.find("too slowly"), std::string::npos) << slowBody.body;
    for (int fd : {silent, dripping})
        ::close(fd);
}

} // namespace
} // namespace hh::aliasdb::test
