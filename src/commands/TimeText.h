#pragma once
// The time texts the commands show, in local time.
#include <chrono>
#include <string>

namespace hh {

using TimePoint = std::chrono::system_clock::time_point;

// Long time form: "2:05:09 PM".
std::string longTimeText(TimePoint t);
// General date and time: "12/5/2026 2:05:09 PM".
std::string generalDateTimeText(TimePoint t);
// Stamp in front of a saved line: "12/05 14:05:09> ".
std::string saveStampText(TimePoint t);

} // namespace hh
