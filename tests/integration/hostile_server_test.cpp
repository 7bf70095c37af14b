// A lookup against an alias database that never answers, or sends without
// end, does not hang the program: with its own time-out and size bound it
// ends in the connectivity message, and the next command is answered (the
// watcher was re-armed). The fetcher's other faults are tried on their own.
#include "support/GameFolder.h"
#include "support/HttpTestServer.h"
#include "support/Process.h"

#include <future>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using hh::test::HttpReply;
using Behaviour = hh::test::HttpReply::Behaviour;

namespace {

// Runs one lookup and then a heartbeat; returns "" or what went wrong.
std::string lookupThenHeartbeat(const HttpReply& reply) {
    hh::test::HttpTestServer server([&](const hh::test::HttpRequest&) { return reply; });
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
    if (!hh::test::waitUntil([&] { return holds("Check ^3your ^3Internet ^3Connectivity"); }, 20s))
        return "no connectivity message but: " + g.resultText() + "\nconsole:\n" + p.output() +
               p.errors();
    g.writeDump({"]/hh hb"});
    if (!hh::test::waitUntil([&] { return holds("ACTIVE"); }, 5s))
        return "the next command was not answered: " + g.resultText();
    return p.running() ? "" : "the program ended";
}

} // namespace

TEST(HostileServer, SilenceAndEndlessBodiesEndInAMessageAndTheWatcherListensAgain) {
    HttpReply silent, endless;
    silent.behaviour = Behaviour::NeverAnswer;
    endless.behaviour = Behaviour::Huge;
    endless.hugeBytes = 100LL << 20;
    // In parallel: the silent one waits out the fetch's 10 s time-out.
    auto first = std::async(std::launch::async, [&] { return lookupThenHeartbeat(silent); });
    EXPECT_EQ(lookupThenHeartbeat(endless), "") << "sends 100 MB";
    EXPECT_EQ(first.get(), "") << "never answers";
}
