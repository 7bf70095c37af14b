#pragma once
#include <chrono>
#include <string>

namespace hh {

// "YYYY-MM-DD HH:MM:SS" in UTC, whole seconds (from the calendar types, not
// the C library's gmtime, which every system spells its own way).
std::string utcDateTimeText(std::chrono::system_clock::time_point t);

} // namespace hh
