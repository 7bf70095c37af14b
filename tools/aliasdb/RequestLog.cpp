#include "RequestLog.h"

namespace hh::aliasdb {

RequestLog::RequestLog(LogSink sink, std::size_t burst, std::chrono::milliseconds period)
    : sink_(std::move(sink)), burst_(burst), period_(period) {}

void RequestLog::write(const std::string& line, const std::string& outcome, bool refusal) {
    endPeriodIfDue();
    if (!sink_)
        return;
    if (refusal && ++refusalsThisPeriod_ > burst_) {
        ++heldBack_[outcome];
        return;
    }
    sink_(line);
}

void RequestLog::endPeriodIfDue() {
    if (const auto now = Clock::now(); now - periodStart_ >= period_)
        endPeriod(now);
}

void RequestLog::endPeriod(Clock::time_point now) {
    if (!heldBack_.empty() && sink_) {
        std::size_t total = 0;
        std::string counts;
        for (const auto& [outcome, count] : heldBack_) {
            total += count;
            counts += (counts.empty() ? "" : ", ") + outcome + " x" + std::to_string(count);
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - periodStart_);
        sink_("- " + std::to_string(total) + " more refusals in " +
              std::to_string(seconds.count()) + " s, not written one by one: " + counts);
    }
    heldBack_.clear();
    refusalsThisPeriod_ = 0;
    periodStart_ = now;
}

} // namespace hh::aliasdb
