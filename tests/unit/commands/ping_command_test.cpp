// The ping command: message forms, averaging, series that end early, the
// worker thread's hand-back, queueing and shutdown while a ping runs.
#include "InterpreterRig.h"
#include "commands/net/PingCommand.h"
#include "commands/net/PingWorker.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace hh {
namespace {

using test::FakePlatform;

EchoOutcome reply(int ms) {
    return {EchoOutcome::Reply, ms, {}};
}
const EchoOutcome kTimedOut{EchoOutcome::TimedOut, 0, {}};

// A resolver that stays silent until released (a dead DNS server).
struct SilentResolver : HostResolver {
    std::string resolveIPv4(const std::string&) override {
        arrived.set_value();
        (void)opened.wait_for(std::chrono::seconds(10));
        returned = true; // last touch of this object by the worker
        return "10.0.0.1";
    }
    std::promise<void> arrived, open;
    std::future<void> opened = open.get_future();
    std::atomic<bool> returned = false;
};

TEST(PingShutdown, EndingDuringASilentResolutionDoesNotWaitForIt) {
    FakePlatform fake;
    SilentResolver resolver;
    std::future<void> arrived = resolver.arrived.get_future();
    bool answered = false;
    {
        PingWorker worker(resolver, fake.icmp, fake.events);
        worker.start("dead.dns.test", [&](const PingAnswer&) { answered = true; });
        arrived.wait();
    } // returns while the resolver is still blocked (else this test takes 10 s)
    EXPECT_FALSE(resolver.returned);
    resolver.open.set_value();
    while (!resolver.returned)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fake.events.processPendingEvents();
    EXPECT_FALSE(answered);
    EXPECT_TRUE(fake.icmp.calls.empty()) << "no echo after the program ended";
}

// A ping command of its own beside the rig's interpreter, so the test can
// wait for its worker.
struct CommandRig : test::InterpreterRig {
    PingCommand ping{ctx};

    CommandRig() {
        fp.resolver.answers["10.0.0.1"] = "10.0.0.1";
        fp.resolver.answers["host.test"] = "10.0.0.7";
    }
};

TEST(PingCommand, PingDuringAPingIsAnsweredAfterItNewestWins) {
    CommandRig rig;
    rig.fp.icmp.outcomes.push_back(kTimedOut);
    rig.ping.run("10.0.0.1");
    rig.ping.run("no.such.host"); // replaced by the next one
    rig.ping.run("host.test");
    rig.ping.joinWorker();
    rig.fp.events.processPendingEvents(); // first answer, second series starts
    EXPECT_EQ(rig.message(), "10.0.0.1 - Request Timed Out");
    EXPECT_TRUE(rig.ping.busy());
    EXPECT_FALSE(rig.modifiedCheck->isEnabled()) << "watcher stays off for the waiting ping";
    rig.ping.joinWorker();
    rig.fp.events.processPendingEvents();
    EXPECT_FALSE(rig.ping.busy());
    EXPECT_EQ(rig.message(), "host.test (10.0.0.7) -  1 ms");
    EXPECT_EQ(rig.fp.icmp.calls.size(), 6u);
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
}

// A series runs on its worker thread and its answer comes back through the
// event pump; errors stay off the clipboard.
TEST(PingCommand, AnswersAsTheGameShowsIt) {
    const std::string longName(300, 'a');
    const EchoOutcome noSocket{EchoOutcome::NoSocket, 0, "{Allow it}"};
    const struct {
        std::size_t echoesSent;
        std::string argument;
        std::vector<EchoOutcome> echoes;
        std::string message;
    } cases[] = {
        {5,
         "host.test",
         {reply(23), reply(23), reply(23), reply(24), reply(25)},
         "host.test (10.0.0.7) -  24 ms"},
        // A time-out ends the series and drops the replies before it.
        {3, "10.0.0.1", {reply(5), reply(5), kTimedOut}, "10.0.0.1 - Request Timed Out"},
        {1, "10.0.0.1", {noSocket}, "Error! Ping needs permission to send ICMP echoes. {Allow it}"},
        {0, longName, {}, longName + " (-1) - Invalid IP or DNS Name"} // never resolved
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        CommandRig rig;
        rig.fp.resolver.answers[longName] = "10.0.0.1";
        rig.fp.clipboard.setText("mine");
        rig.fp.icmp.outcomes.assign(c.echoes.begin(), c.echoes.end());
        rig.ping.run(c.argument);
        rig.ping.joinWorker();
        EXPECT_EQ(rig.message(), "") << "the answer must arrive on the UI thread, not the worker";
        rig.fp.events.processPendingEvents();
        EXPECT_EQ(rig.message(), c.message);
        const bool error = c.message.starts_with("Error!");
        EXPECT_EQ(rig.fp.clipboard.text(), error ? "mine" : c.message);
        EXPECT_EQ(rig.sounds(), std::vector<std::string>{error ? "close.wav" : "default.wav"});
        ASSERT_EQ(rig.fp.icmp.calls.size(), c.echoesSent);
        for (const auto& call : rig.fp.icmp.calls)
            EXPECT_TRUE(call.ends_with("|200")) << "each echo waits 200 ms at most";
    }
}

} // namespace
} // namespace hh
