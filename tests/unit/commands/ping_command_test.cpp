// The ping command: message forms, averaging, series that end early, the
// worker thread's hand-back, queueing and shutdown while a ping runs.
#include "InterpreterRig.h"
#include "commands/net/PingCommand.h"
#include "commands/net/PingWorker.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <optional>

namespace hh {
namespace {

using test::FakePlatform;

EchoOutcome reply(int ms) {
    return {EchoOutcome::Reply, ms, {}};
}
EchoOutcome timedOut() {
    return {EchoOutcome::TimedOut, 0, {}};
}
EchoOutcome failed(std::string words) {
    return {EchoOutcome::Failed, 0, std::move(words)};
}

const std::string kAdvice = "{Allow it with: sysctl} {or: setcap}";

// ---- The series on its worker thread, answer handed back through the pump.

struct SeriesCase {
    const char* name;
    std::string argument;
    std::map<std::string, std::string> dns;
    std::vector<EchoOutcome> echoes;
    std::string message;
    bool isError;
    std::size_t echoesSent;
};

class PingSeries : public testing::TestWithParam<SeriesCase> {};

TEST_P(PingSeries, AnswersAsTheGameShowsIt) {
    const SeriesCase& c = GetParam();
    FakePlatform fake;
    fake.resolver.answers = c.dns;
    fake.icmp.outcomes.assign(c.echoes.begin(), c.echoes.end());
    PingWorker worker(fake.resolver, fake.icmp, fake.events);

    std::optional<PingAnswer> answer;
    worker.start(c.argument, [&](const PingAnswer& a) { answer = a; });
    EXPECT_TRUE(worker.busy());
    worker.join();
    EXPECT_FALSE(answer) << "the answer must arrive on the UI thread, not the worker";
    fake.events.processPendingEvents();

    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->message, c.message);
    EXPECT_EQ(answer->isError, c.isError);
    EXPECT_FALSE(worker.busy());
    ASSERT_EQ(fake.icmp.calls.size(), c.echoesSent);
    for (const auto& call : fake.icmp.calls)
        EXPECT_EQ(call.substr(call.find('|')), "|Echo This|200");
}

const std::string kLongName(300, 'a');
const std::map<std::string, std::string> kDns = {
    {"10.0.0.1", "10.0.0.1"}, {"127.0.0.1", "127.0.0.1"}, {"example.test", "10.0.0.2"},
    {"h", "10.0.0.3"},        {"gw", "10.0.0.9"},         {kLongName, "10.0.0.1"}};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ping, PingSeries, testing::Values(
    SeriesCase{"DottedAddressHasNoParentheses", "10.0.0.1", kDns,
               {reply(10), reply(20), reply(30), reply(40), reply(51)}, "10.0.0.1 -  30 ms", false, 5},
    SeriesCase{"NameShowsItsAddressAverageRoundsUp", "example.test", kDns,
               {reply(23), reply(23), reply(23), reply(24), reply(25)},
               "example.test (10.0.0.2) -  24 ms", false, 5},
    SeriesCase{"AverageRoundsDown", "h", kDns,
               {reply(23), reply(23), reply(23), reply(24), reply(24)}, "h (10.0.0.3) -  23 ms", false, 5},
    // FakeIcmp answers 1 ms when nothing is queued
    SeriesCase{"DefaultReplies", "127.0.0.1", kDns, {}, "127.0.0.1 -  1 ms", false, 5},
    SeriesCase{"FirstTimeOutStopsTheSeries", "10.0.0.1", kDns,
               {timedOut(), reply(5)}, "10.0.0.1 - Request Timed Out", false, 1},
    SeriesCase{"LaterTimeOutDropsTheReplies", "10.0.0.1", kDns,
               {reply(5), reply(5), timedOut()}, "10.0.0.1 - Request Timed Out", false, 3},
    SeriesCase{"FailureInWordsNotAveraged", "gw", kDns,
               {reply(7), failed("Destination Host Unreachable"), reply(7)},
               "gw (10.0.0.9) - Destination Host Unreachable", false, 2},
    SeriesCase{"FailureWithoutWords", "10.0.0.1", kDns, {failed("")}, "10.0.0.1 - Echo Failed", false, 1},
    SeriesCase{"NoSocketGivesAdvice", "10.0.0.1", kDns, {{EchoOutcome::NoSocket, 0, kAdvice}},
               "Error! Ping needs permission to send ICMP echoes. " + kAdvice, true, 1},
    SeriesCase{"UnresolvableName", "no.such.host", kDns, {},
               "no.such.host (-1) - Invalid IP or DNS Name", false, 0},
    SeriesCase{"OverlongNameNeverResolved", kLongName, kDns, {},
               kLongName + " (-1) - Invalid IP or DNS Name", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(PingTally, NegativeAverageHasNoLeadingBlank) {
    PingTally tally;
    for (int i = 0; i < kPingEchoCount; ++i)
        tally.add(reply(-10));
    EXPECT_EQ(tally.answer("10.0.0.1", "10.0.0.1").message, "10.0.0.1 - -10 ms");
}

// ---- Shutdown while a ping runs.

// A blocking call that the test watches arrive and then lets go.
class Gate {
  public:
    // The caller's side: blocks until opened or `limit` has passed.
    void pass(std::chrono::milliseconds limit) {
        std::unique_lock guard(lock_);
        arrived_ = true;
        changed_.notify_all();
        changed_.wait_for(guard, limit, [this] { return open_; });
    }
    void waitArrived() {
        std::unique_lock guard(lock_);
        changed_.wait(guard, [this] { return arrived_; });
    }
    void open() {
        std::lock_guard guard(lock_);
        open_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool arrived_ = false, open_ = false;
};

// An echo in flight until released, at most its time-out.
class GateIcmp : public IcmpEcho {
  public:
    EchoOutcome echo(const std::string&, const std::string&, int timeoutMs) override {
        gate.pass(std::chrono::milliseconds(timeoutMs));
        return reply(3);
    }
    Gate gate;
};

// A resolver that stays silent until released (a dead DNS server).
class SilentResolver : public HostResolver {
  public:
    std::string resolveIPv4(const std::string&) override {
        gate.pass(std::chrono::seconds(10));
        returned = true; // last touch of this object by the worker
        return "10.0.0.1";
    }
    Gate gate;
    std::atomic<bool> returned = false;
};

TEST(PingShutdown, EndingDuringAnEchoNeverAnswersAndSendsNoMore) {
    FakePlatform fake;
    GateIcmp icmp;
    fake.resolver.answers["10.0.0.1"] = "10.0.0.1";
    bool answered = false;
    {
        PingWorker worker(fake.resolver, icmp, fake.events);
        worker.start("10.0.0.1", [&](const PingAnswer&) { answered = true; });
        icmp.gate.waitArrived();
        // The destructor waits for the echo in flight, at most its time-out.
    }
    fake.events.processPendingEvents();
    EXPECT_FALSE(answered);
    EXPECT_TRUE(fake.events.posted.empty());
}

TEST(PingShutdown, EndingDuringASilentResolutionDoesNotWaitForIt) {
    FakePlatform fake;
    SilentResolver resolver;
    bool answered = false;
    {
        PingWorker worker(resolver, fake.icmp, fake.events);
        worker.start("dead.dns.test", [&](const PingAnswer&) { answered = true; });
        resolver.gate.waitArrived();
    } // returns while the resolver is still blocked (else this test takes 10 s)
    EXPECT_FALSE(resolver.returned);
    resolver.gate.open();
    while (!resolver.returned)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fake.events.processPendingEvents();
    EXPECT_FALSE(answered);
    EXPECT_TRUE(fake.icmp.calls.empty()) << "no echo after the program ended";
}

// ---- The command with the real result call.

// A ping command of its own beside the rig's interpreter, so the test can
// wait for its worker.
struct CommandRig : test::InterpreterRig {
    CommandContext ctx{state,          settings,   fp.platform, view,       writer,
                       result,         watcher,    lookup,      gameScript, program,
                       *modifiedCheck, *clearClip, *countTo};
    PingCommand ping{ctx};

    CommandRig() {
        fp.resolver.answers["10.0.0.1"] = "10.0.0.1";
        fp.resolver.answers["host.test"] = "10.0.0.7";
    }
    // Lets every running and waiting series finish, as the UI loop would.
    void settle() {
        for (int i = 0; i < 10 && ping.busy(); ++i) {
            ping.joinWorker();
            fp.events.processPendingEvents();
        }
        ASSERT_FALSE(ping.busy());
    }
};

TEST(PingCommand, MissingArgumentIsAnErrorAtOnce) {
    CommandRig rig;
    rig.ping.run("");
    EXPECT_FALSE(rig.ping.busy());
    EXPECT_EQ(rig.state.gLastStatusMsg, kPingMissingArgument);
    EXPECT_EQ(rig.fp.sound.names(), std::vector<std::string>{"close.wav"});
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    EXPECT_TRUE(rig.fp.icmp.calls.empty());
}

TEST(PingCommand, ResultGoesToTheClipboardAndRearmsTheWatcherWhenDone) {
    CommandRig rig;
    rig.ping.run("host.test");
    EXPECT_FALSE(rig.modifiedCheck->isEnabled()) << "no result call before the echoes end";
    rig.settle();
    EXPECT_EQ(rig.state.gLastStatusMsg, "host.test (10.0.0.7) -  1 ms");
    EXPECT_EQ(rig.fp.clipboard.text(), "host.test (10.0.0.7) -  1 ms");
    EXPECT_EQ(rig.fp.sound.names(), std::vector<std::string>{"default.wav"});
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    EXPECT_EQ(rig.clearClip->interval(), 15000);
}

TEST(PingCommand, PermissionAdviceIsAnErrorKeptOffTheClipboard) {
    CommandRig rig;
    rig.fp.clipboard.setText("mine");
    rig.fp.icmp.outcomes.push_back({EchoOutcome::NoSocket, 0, kAdvice});
    rig.ping.run("10.0.0.1");
    rig.settle();
    EXPECT_EQ(rig.state.gLastStatusMsg,
              "Error! Ping needs permission to send ICMP echoes. " + kAdvice);
    EXPECT_EQ(rig.fp.clipboard.text(), "mine");
    EXPECT_EQ(rig.fp.sound.names(), std::vector<std::string>{"close.wav"});
}

TEST(PingCommand, PingDuringAPingIsAnsweredAfterItNewestWins) {
    CommandRig rig;
    rig.fp.icmp.outcomes.push_back(timedOut());
    rig.ping.run("10.0.0.1");
    rig.ping.run("no.such.host"); // replaced by the next one
    rig.ping.run("host.test");
    rig.ping.joinWorker();
    rig.fp.events.processPendingEvents(); // first answer, second series starts
    EXPECT_EQ(rig.state.gLastStatusMsg, "10.0.0.1 - Request Timed Out");
    EXPECT_TRUE(rig.ping.busy());
    EXPECT_FALSE(rig.modifiedCheck->isEnabled()) << "watcher stays off for the waiting ping";
    rig.settle();
    EXPECT_EQ(rig.state.gLastStatusMsg, "host.test (10.0.0.7) -  1 ms");
    EXPECT_EQ(rig.fp.sound.names(), (std::vector<std::string>{"default.wav", "default.wav"}));
    EXPECT_EQ(rig.fp.icmp.calls.size(), 6u);
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
}

} // namespace
} // namespace hh
