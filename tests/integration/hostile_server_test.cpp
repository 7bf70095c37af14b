// A lookup against a broken or hostile alias database never hangs the
// program: each ends in the connectivity or no-alias message within a bounded
// time, and the next command is answered (the watcher was re-armed).
#include "support/GameFolder.h"
#include "support/HttpTestServer.h"
#include "support/Process.h"

#include <future>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using hh::test::HttpReply;
using Behaviour = hh::test::HttpReply::Behaviour;

namespace {

struct Case {
    const char* what;
    HttpReply reply;
    const char* expected; // in hh.cfg's echo form
};

HttpReply with(Behaviour b, std::string body = {}, long long hugeBytes = 0) {
    HttpReply r;
    r.behaviour = b;
    r.body = std::move(body);
    r.hugeBytes = hugeBytes;
    return r;
}

// Runs one lookup and then a heartbeat; returns "" or what went wrong.
std::string lookupThenHeartbeat(const Case& c) {
    hh::test::HttpTestServer server([&](const hh::test::HttpRequest&) { return c.reply; });
    hh::test::GameFolder g;
    hh::test::Process p(HH_BINARY,
                        {"--headless", "--always-on", "--quiet", "--program-dir",
                         g.program().string(), "--lookup-url", server.baseUrl()},
                        {"DISPLAY="});
    auto holds = [&](const char* text) { return g.resultText().find(text) != std::string::npos; };
    if (!hh::test::waitUntil([&] { return holds("ENABLED"); }, 10s))
        return "did not start";
    g.writeDump({"]/hh guid 1a2b3c4d"});
    // The fetch gives up after 10 s; 20 s is the bound the player may meet.
    if (!hh::test::waitUntil([&] { return holds(c.expected); }, 20s))
        return std::string("no '") + c.expected + "' but: " + g.resultText() + "\nconsole:\n" +
               p.output() + p.errors();
    g.writeDump({"]/hh hb"});
    if (!hh::test::waitUntil([&] { return holds("ACTIVE"); }, 5s))
        return "the next command was not answered: " + g.resultText();
    return p.running() ? "" : "the program ended";
}

} // namespace

TEST(HostileServer, EveryFaultEndsInAMessageAndTheWatcherListensAgain) {
    HttpReply garbage;
    for (int i = 0; i < 65536; ++i)
        garbage.body.push_back(static_cast<char>((i * 7919) & 0xFF));
    HttpReply serverError;
    serverError.status = 500;
    serverError.body = "<html>Internal error</html>";
    HttpReply loop;
    loop.status = 302;
    loop.headers["Location"] = "/?guid=1a2b3c4d";
    const char* connectivity = "Check ^3your ^3Internet ^3Connectivity";
    const char* noPlayer = "No ^3Player ^3with ^3GUID#";
    const std::vector<Case> cases = {
        {"never answers", with(Behaviour::NeverAnswer), connectivity},
        {"trickles one byte a second", with(Behaviour::Trickle, std::string(5000, 'x')),
         connectivity},
        {"sends 100 MB", with(Behaviour::Huge, "", 100LL << 20), connectivity},
        {"redirects in a loop", loop, connectivity},
        {"answers binary garbage", garbage, noPlayer},
        {"answers 500", serverError, noPlayer},
    };
    // In parallel: the slow cases each wait out the fetch's 10 s time-out.
    std::vector<std::future<std::string>> runs;
    for (const auto& c : cases)
        runs.push_back(std::async(std::launch::async, [&c] { return lookupThenHeartbeat(c); }));
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(runs[i].get(), "") << cases[i].what;
}
