#pragma once
// The service's request log: a line per request. Refusals (statuses from 400
// on, and connections cut to make room) are written one by one only up to a
// burst per period; the rest of a flood is counted and summed up in one line
// when the period ends, so an attacker can neither fill the log nor bury what
// came before. Used from one thread.
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <string>

namespace hh::aliasdb {

using LogSink = std::function<void(const std::string& line)>;

class RequestLog {
  public:
    using Clock = std::chrono::steady_clock;

    explicit RequestLog(LogSink sink, std::size_t burst = 20,
                        std::chrono::milliseconds period = std::chrono::seconds(10));

    // `outcome` is the status, or a word for a connection without one ("cut").
    void write(const std::string& line, const std::string& outcome, bool refusal);
    // At the end of a period: the summary of what was held back, if anything.
    void endPeriodIfDue();
    // The summary now, at the end of the service.
    void close() { endPeriod(Clock::now()); }

  private:
    void endPeriod(Clock::time_point now);

    LogSink sink_;
    std::size_t burst_;
    std::chrono::milliseconds period_;
    Clock::time_point periodStart_ = Clock::now();
    std::size_t refusalsThisPeriod_ = 0;
    std::map<std::string, std::size_t> heldBack_; // outcome -> count
};

} // namespace hh::aliasdb
