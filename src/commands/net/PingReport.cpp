#include "commands/net/PingReport.h"

#include "common/Strings.h"

#include <cmath>

namespace hh {

namespace {

// One leading blank when not negative, so a result reads "10.0.0.1 -  23 ms".
std::string averageText(std::int32_t sum, int count) {
    const long average = std::lround(static_cast<double>(sum) / count);
    return concat({average < 0 ? "" : " ", std::to_string(average), " ms"});
}

} // namespace

std::string pingMessage(const std::string& argument, const std::string& ip,
                        const std::string& result) {
    if (argument != ip)
        return argument + " (" + ip + ") - " + result;
    return ip + " - " + result;
}

bool PingTally::add(const EchoOutcome& outcome) {
    if (stopped_)
        return false;
    if (outcome.kind == EchoOutcome::Reply) {
        sum_ += outcome.roundTripMs;
        ++replies_;
        return replies_ < kPingEchoCount;
    }
    stopped_ = true;
    stop_ = outcome;
    return false;
}

PingAnswer PingTally::answer(const std::string& argument, const std::string& ip) const {
    if (!stopped_)
        return {pingMessage(argument, ip, averageText(sum_, kPingEchoCount)), false};
    switch (stop_.kind) {
    case EchoOutcome::TimedOut:
        return {pingMessage(argument, ip, "Request Timed Out"), false};
    case EchoOutcome::NoSocket:
        if (stop_.detail.empty())
            return {kPingNoPermission, true};
        return {std::string(kPingNoPermission) + " " + stop_.detail, true};
    default:
        return {pingMessage(argument, ip, stop_.detail.empty() ? "Echo Failed" : stop_.detail),
                false};
    }
}

PingAnswer unresolvedAnswer(const std::string& argument) {
    return {pingMessage(argument, "-1", "Invalid IP or DNS Name"), false};
}

} // namespace hh
