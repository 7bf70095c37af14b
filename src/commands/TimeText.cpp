#include "commands/TimeText.h"

#include <cstdio>
#include <ctime>

namespace hh {
namespace {

std::tm localParts(TimePoint t) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    // Only the UI thread formats times, so the shared buffer of localtime is safe.
    const std::tm* parts = std::localtime(&seconds);
    return parts ? *parts : std::tm{};
}

std::string twelveHourClock(const std::tm& p) {
    const int hour = p.tm_hour % 12 == 0 ? 12 : p.tm_hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", hour, p.tm_min, p.tm_sec,
                  p.tm_hour < 12 ? "AM" : "PM");
    return buf;
}

} // namespace

std::string longTimeText(TimePoint t) {
    return twelveHourClock(localParts(t));
}

std::string generalDateTimeText(TimePoint t) {
    const std::tm p = localParts(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%d ", p.tm_mon + 1, p.tm_mday, p.tm_year + 1900);
    return buf + twelveHourClock(p);
}

std::string saveStampText(TimePoint t) {
    const std::tm p = localParts(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d %02d:%02d:%02d> ", p.tm_mon + 1, p.tm_mday, p.tm_hour,
                  p.tm_min, p.tm_sec);
    return buf;
}

} // namespace hh
