// QtPageFetcher against a real HTTP server on 127.0.0.1: alias pages, broken
// and hostile servers, with the time-out and size bound the program runs
// with. Every case must end with exactly one callback.
#include "platform/qt/QtPageFetcher.h"
#include "support/AliasPages.h"
#include "support/HttpTestServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace hh {
namespace {

using test::HttpReply;
using test::HttpRequest;
using test::HttpTestServer;
using Behaviour = HttpReply::Behaviour;

void ensureQtApp() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "lookup_fetch_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

HttpReply page(int status, std::string body, std::map<std::string, std::string> headers = {}) {
    HttpReply r;
    r.status = status;
    r.body = std::move(body);
    r.headers = std::move(headers);
    return r;
}

HttpReply behaving(Behaviour behaviour, std::string body = "", long long hugeBytes = 0) {
    HttpReply r = page(200, std::move(body));
    r.behaviour = behaviour;
    r.trickleMs = 30;
    r.hugeBytes = hugeBytes;
    return r;
}

struct Outcome {
    int calls = 0;
    FetchResult result;
};

// Runs the event loop until the callback came, then a little longer so that
// a second callback would be seen. `guardMs` only keeps a broken fetcher
// from hanging the suite; the cases assert the callback came.
template <typename Start> Outcome await(Start start, int guardMs = 15000) {
    auto outcome = std::make_shared<Outcome>();
    start([outcome](const FetchResult& r) {
        ++outcome->calls;
        outcome->result = r;
    });
    EXPECT_EQ(outcome->calls, 0) << "answered inside the call";
    QElapsedTimer clock;
    clock.start();
    while (outcome->calls == 0 && clock.elapsed() < guardMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const qint64 settled = clock.elapsed() + 100;
    while (clock.elapsed() < settled)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return *outcome;
}

Outcome get(QtPageFetcher& fetcher, const std::string& url) {
    return await([&](auto done) { fetcher.get(url, done); });
}

class LookupFetch : public ::testing::Test {
  protected:
    void SetUp() override { ensureQtApp(); }
};

TEST_F(LookupFetch, PagesArriveWithTheirNormalisedAddress) {
    const struct {
        const char* what;
        HttpReply reply;
        int status;
    } cases[] = {
        {"alias page", page(200, test::aliasPage({"Alpha", "Bravo", "Charlie"})), 200},
        {"error page", page(500, "<h1>Internal Server Error</h1>"), 500},
    };
    for (const auto& c : cases) {
        HttpTestServer server([&](const HttpRequest&) { return c.reply; });
        QtPageFetcher fetcher;
        const auto outcome = get(fetcher, server.baseUrl() + "?guid=1a2b3c4d");
        ASSERT_EQ(outcome.calls, 1) << c.what;
        EXPECT_TRUE(outcome.result.ok) << c.what << ": " << outcome.result.error;
        EXPECT_EQ(outcome.result.httpStatus, c.status) << c.what;
        EXPECT_EQ(outcome.result.body, c.reply.body) << c.what;
        EXPECT_EQ(outcome.result.finalUrl, server.baseUrl() + "/?guid=1a2b3c4d") << c.what;
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1u) << c.what;
        EXPECT_EQ(requests[0].target, "/?guid=1a2b3c4d");
    }
}

TEST_F(LookupFetch, BrokenAndHostileServersEndInAFailure) {
    HttpReply streamed = behaving(Behaviour::Huge, "", 64LL << 20);
    streamed.announceLength = false;
    const struct {
        const char* what;
        HttpReply reply;
        int timeoutMs;   // 0: the fetcher's own, which the program uses
        qint64 cap;      // 0: likewise
        const char* why; // part of the error text
    } cases[] = {
        {"never answers", behaving(Behaviour::NeverAnswer), 0, 0, "within 10000 ms"},
        {"trickles forever", behaving(Behaviour::Trickle, std::string(4000, 't')), 600, 4 << 20,
         "within 600 ms"},
        {"closes early", behaving(Behaviour::CloseEarly, test::aliasPage({"Half"})), 3000, 4 << 20,
         "closed"},
        {"announces a huge page", behaving(Behaviour::Huge, "", 8LL << 20), 5000, 0,
         "larger than 4194304"},
        {"streams past the cap without a length", streamed, 5000, 1 << 20, "larger than 1048576"},
    };
    for (const auto& c : cases) {
        HttpTestServer server([&](const HttpRequest&) { return c.reply; });
        QtPageFetcher fetcher;
        if (c.timeoutMs)
            fetcher.setTimeoutMs(c.timeoutMs);
        if (c.cap)
            fetcher.setMaxBodyBytes(c.cap);
        const auto outcome = get(fetcher, server.baseUrl() + "/?guid=1");
        ASSERT_EQ(outcome.calls, 1) << c.what;
        EXPECT_FALSE(outcome.result.ok) << c.what;
        EXPECT_NE(outcome.result.error.find(c.why), std::string::npos)
            << c.what << ": " << outcome.result.error;
        EXPECT_TRUE(outcome.result.body.empty()) << c.what;
    }
}

TEST_F(LookupFetch, ThreeRedirectsAreFollowedAndAFourthIsNot) {
    // "/hopN" sends the fetcher N more times around.
    HttpTestServer server([](const HttpRequest& r) {
        const int left = r.target.back() - '0';
        return left == 0 ? page(200, "end")
                         : page(302, "", {{"Location", "/hop" + std::to_string(left - 1)}});
    });
    QtPageFetcher fetcher;
    EXPECT_EQ(get(fetcher, server.baseUrl() + "/hop3").result.body, "end");
    EXPECT_FALSE(get(fetcher, server.baseUrl() + "/hop4").result.ok);
}

TEST_F(LookupFetch, UnreachableAndForeignAddressesFail) {
    std::string closedPort;
    {
        HttpTestServer gone([](const HttpRequest&) { return page(200, ""); });
        closedPort = gone.baseUrl();
    }
    const std::string urls[] = {closedPort + "/?guid=1", "ftp://127.0.0.1/?guid=1",
                                "file:///etc/passwd", "not a url", ""};
    for (const auto& url : urls) {
        QtPageFetcher fetcher;
        const auto outcome = get(fetcher, url);
        ASSERT_EQ(outcome.calls, 1) << url;
        EXPECT_FALSE(outcome.result.ok) << url;
    }
}

TEST_F(LookupFetch, PostJsonSendsTheBodyAndASilentServerTimesOut) {
    HttpTestServer server([](const HttpRequest& r) {
        return r.target == "/silent" ? behaving(Behaviour::NeverAnswer) : page(201, "ok");
    });
    QtPageFetcher fetcher;
    fetcher.setPostTimeoutMs(300);
    const auto post = [&](const std::string& path) {
        return await(
            [&](auto done) { fetcher.postJson(server.baseUrl() + path, "{\"a\":1}", done); });
    };
    const auto sent = post("/sightings");
    ASSERT_EQ(sent.calls, 1);
    EXPECT_TRUE(sent.result.ok);
    EXPECT_EQ(sent.result.httpStatus, 201);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "{\"a\":1}");
    EXPECT_EQ(requests[0].headers.at("content-type"), "application/json");
    const auto silent = post("/silent");
    ASSERT_EQ(silent.calls, 1);
    EXPECT_FALSE(silent.result.ok);
}

TEST_F(LookupFetch, TheCredentialGoesToItsOwnAddressOnly) {
    HttpTestServer other([](const HttpRequest&) { return page(200, "other"); });
    HttpTestServer own([&](const HttpRequest& r) {
        return r.target == "/moved" ? page(302, "", {{"Location", other.baseUrl() + "/"}})
                                    : page(200, "own");
    });
    QtPageFetcher fetcher;
    fetcher.setCredential(own.baseUrl(), "s3cret");
    const struct {
        std::string url;
        int status;
    } cases[] = {
        {own.baseUrl() + "/health", 200},
        {other.baseUrl() + "/health", 200},
        {"http://localhost:" + std::to_string(own.port()) + "/health", 200}, // another name
        {own.baseUrl() + "/moved", 302}, // not followed: the header would go along
    };
    for (const auto& c : cases)
        EXPECT_EQ(get(fetcher, c.url).result.httpStatus, c.status) << c.url;
    // Without a credential a redirect is followed, and the address it ends at is given.
    fetcher.setCredential(own.baseUrl(), "");
    const auto moved = get(fetcher, own.baseUrl() + "/moved");
    EXPECT_EQ(moved.result.body, "other");
    EXPECT_EQ(moved.result.finalUrl, other.baseUrl() + "/");

    const auto sent = [](const HttpTestServer& server) {
        std::vector<std::string> values;
        for (const auto& r : server.requests())
            values.push_back(r.headers.count("authorization") ? r.headers.at("authorization")
                                                              : "-");
        return values;
    };
    EXPECT_EQ(sent(own), (std::vector<std::string>{"Bearer s3cret", "-", "Bearer s3cret", "-"}));
    EXPECT_EQ(sent(other), (std::vector<std::string>{"-", "-"}));
}

TEST_F(LookupFetch, AFetcherGoneWithOpenTransfersCallsNobody) {
    HttpTestServer server([](const HttpRequest&) { return behaving(Behaviour::NeverAnswer); });
    auto calls = std::make_shared<int>(0);
    {
        QtPageFetcher fetcher;
        fetcher.get(server.baseUrl() + "/?guid=1", [calls](const FetchResult&) { ++*calls; });
        QElapsedTimer connecting;
        connecting.start();
        while (server.requests().empty() && connecting.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(server.requests().size(), 1u);
        // A refusal is delivered later, so it is still open here.
        fetcher.get("ftp://127.0.0.1/", [calls](const FetchResult&) { ++*calls; });
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(*calls, 0);
}

} // namespace
} // namespace hh
