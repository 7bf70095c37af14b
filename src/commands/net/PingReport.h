#pragma once
// What a ping series is made of and how its answer reads in the game. Pure
// logic: the worker feeds echo outcomes in, the command sends the answer out.
#include "platform/Net.h"

#include <cstdint>
#include <string>

namespace hh {

inline constexpr int kPingEchoCount = 5;
inline constexpr int kPingTimeoutMs = 200;
inline constexpr int kPingPauseMs = 25;
inline constexpr const char* kPingPayload = "Echo This";
// Longest DNS name; anything longer cannot resolve and is not sent to the resolver.
inline constexpr std::size_t kMaxHostNameLength = 253;

inline constexpr const char* kPingMissingArgument =
    "Error! Missing argument - IP#/DNS Address. {Command usage: '/hh ping <IP#/DNS Address>'}";
inline constexpr const char* kPingNoPermission =
    "Error! Ping needs permission to send ICMP echoes.";

struct PingAnswer {
    std::string message;
    bool isError = false; // close.wav, not copied to the clipboard
};

// "name (ip) - R" when a name was given, "ip - R" for a dotted address.
std::string pingMessage(const std::string& argument, const std::string& ip,
                        const std::string& result);

// Collects the echoes of one series. A time-out or any failure ends the
// series: only replies are averaged, and the first failure is the answer.
class PingTally {
  public:
    // False once the series is over.
    bool add(const EchoOutcome& outcome);
    PingAnswer answer(const std::string& argument, const std::string& ip) const;

  private:
    std::int32_t sum_ = 0;
    int replies_ = 0;
    bool stopped_ = false;
    EchoOutcome stop_;
};

PingAnswer unresolvedAnswer(const std::string& argument);

} // namespace hh
