#include "commands/net/PingWorker.h"

#include "platform/EventPump.h"
#include "platform/Net.h"

#include <chrono>
#include <mutex>

namespace hh {

// Owned jointly by the worker object and its thread, so that neither side
// dangles when the program ends while a ping runs.
struct PingWorker::Shared {
    Shared(HostResolver& r, IcmpEcho& i, EventPump& e) : resolver(r), icmp(i), events(e) {}
    HostResolver& resolver;
    IcmpEcho& icmp;
    EventPump& events;
    // Held around every use of `icmp` and `events`; `abandoned` is set under it.
    std::mutex lock;
    bool abandoned = false;
    bool finished = false;
};

PingWorker::PingWorker(HostResolver& resolver, IcmpEcho& icmp, EventPump& events)
    : shared_(std::make_shared<Shared>(resolver, icmp, events)) {}

PingWorker::~PingWorker() {
    bool finished = false;
    {
        std::lock_guard guard(shared_->lock);
        shared_->abandoned = true;
        finished = shared_->finished;
    }
    if (!thread_.joinable())
        return;
    if (finished)
        thread_.join();
    else
        thread_.detach();
}

void PingWorker::start(const std::string& argument, std::function<void(const PingAnswer&)> done) {
    join(); // a previous thread has already posted its answer: this is quick
    {
        std::lock_guard guard(shared_->lock);
        shared_->finished = false;
    }
    busy_ = true;
    auto onUi = [this, shared = shared_, done = std::move(done)](const PingAnswer& answer) {
        {
            std::lock_guard guard(shared->lock);
            if (shared->abandoned)
                return;
        }
        busy_ = false;
        done(answer);
    };
    thread_ = std::thread(series, shared_, argument, std::move(onUi));
}

void PingWorker::join() {
    if (thread_.joinable())
        thread_.join();
}

void PingWorker::series(std::shared_ptr<Shared> shared, std::string argument,
                        std::function<void(const PingAnswer&)> done) {
    // Runs `use` under the lock unless the worker was abandoned; false ends the series.
    auto ifWanted = [&shared](auto&& use) {
        std::lock_guard guard(shared->lock);
        if (shared->abandoned) {
            shared->finished = true;
            return false;
        }
        use();
        return true;
    };
    auto finish = [&](const PingAnswer& answer) {
        ifWanted([&] {
            shared->events.postToUiThread([done, answer] { done(answer); });
            shared->finished = true;
        });
    };

    if (!ifWanted([] {}))
        return;
    const std::string ip = argument.size() > kMaxHostNameLength
                               ? std::string("-1")
                               : shared->resolver.resolveIPv4(argument);
    if (ip == "-1")
        return finish(unresolvedAnswer(argument));

    PingTally tally;
    for (int i = 0; i < kPingEchoCount; ++i) {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPingPauseMs));
        EchoOutcome outcome;
        if (!ifWanted([&] { outcome = shared->icmp.echo(ip, kPingPayload, kPingTimeoutMs); }))
            return;
        if (!tally.add(outcome))
            break;
    }
    finish(tally.answer(argument, ip));
}

} // namespace hh
