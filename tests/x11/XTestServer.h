#pragma once
// A private X server for tests: Xvfb on a display number it picks itself,
// xdotool runs, and event-loop pumping.
// No Xlib here: its macros break Qt headers.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/Process.h"

namespace hh::test::x11 {

// xdotool with the given arguments (plain XTest input, seen like real keys).
int xdotool(const std::vector<std::string>& args);

// Xvfb started with -displayfd; sets DISPLAY for the process and its children.
class Xvfb {
  public:
    Xvfb();
    ~Xvfb();
    bool started() const { return started_; }

  private:
    std::unique_ptr<Process> process_;
    bool started_ = false;
};

// Lets Qt deliver socket notifications until `done` or the bound passes.
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds bound = std::chrono::seconds(10));
// A few passes of the event loop, to take in what the server already sent.
inline void pumpBriefly() {
    pumpUntil([] { return false; }, std::chrono::milliseconds(100));
}

// Xlib errors on connections other than the test windows' (counted by a
// handler the tests install; our adapters must never produce any).
int foreignXErrors();
void installXErrorCounter();

} // namespace hh::test::x11
