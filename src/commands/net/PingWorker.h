#pragma once
// Runs one ping series (resolution and echoes, all blocking) on its own
// thread, so a silent resolver (10 s) or five echoes never freeze the window,
// and hands the answer back on the UI thread.
#include "commands/net/PingReport.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace hh {

class EventPump;
class HostResolver;
class IcmpEcho;

class PingWorker {
  public:
    PingWorker(HostResolver& resolver, IcmpEcho& icmp, EventPump& events);
    // Abandons a running series: waits at most for the echo in flight, and
    // leaves a resolution that is still blocked to end on its own; after this
    // the thread touches neither the echo service nor the event pump.
    ~PingWorker();
    PingWorker(const PingWorker&) = delete;
    PingWorker& operator=(const PingWorker&) = delete;

    // UI thread: true from start() until `done` has been called.
    bool busy() const { return busy_; }
    // UI thread, only when not busy. `done` runs on the UI thread, unless
    // this worker is destroyed first.
    void start(const std::string& argument, std::function<void(const PingAnswer&)> done);
    // For tests: waits until the running thread has posted its answer and ended.
    void join();

  private:
    struct Shared;
    static void series(std::shared_ptr<Shared> shared, std::string argument,
                       std::function<void(const PingAnswer&)> done);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    bool busy_ = false;
};

} // namespace hh
