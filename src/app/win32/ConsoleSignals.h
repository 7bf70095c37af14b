#pragma once
// Ctrl+C, Ctrl+Break and the console window closing, handed to the UI thread
// as a request to end, so the program ends through its normal shutdown (as
// SIGINT and SIGTERM do on Linux).
#include "platform/EventPump.h"

#include <functional>

namespace hh {

class ConsoleSignals {
  public:
    ConsoleSignals(EventPump& uiThread, std::function<void()> onTerminate);
    ~ConsoleSignals(); // lets a waiting close request go on
    ConsoleSignals(const ConsoleSignals&) = delete;
    ConsoleSignals& operator=(const ConsoleSignals&) = delete;
};

} // namespace hh
