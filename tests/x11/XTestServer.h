#pragma once
// A private X server for tests: Xvfb on a display number it picks itself,
// child processes stopped by PID, xdotool runs, and event-loop pumping.
// No Xlib here: its macros break Qt headers.
#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace hh::test::x11 {

// A child process stopped by its PID when the object goes.
class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const std::vector<std::string>& argv, const std::string& outputFile = {});
    // Takes over a process already started.
    static ChildProcess adopt(pid_t pid);
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    pid_t pid() const { return pid_; }
    bool running();
    void stop();

  private:
    pid_t pid_ = -1;
};

// Runs a program to its end; its exit status, -1 when it could not start.
int runProgram(const std::vector<std::string>& argv);
// xdotool with the given arguments (plain XTest input, seen like real keys).
int xdotool(const std::vector<std::string>& args);

// Xvfb started with -displayfd; sets DISPLAY (and XDG_RUNTIME_DIR) for the
// process and its children.
class Xvfb {
  public:
    Xvfb();
    ~Xvfb();
    bool started() const { return !display_.empty(); }
    const std::string& display() const { return display_; }

  private:
    ChildProcess process_;
    std::string display_;
    std::string runtimeDir_; // made here when none was set
};

// Lets Qt deliver socket notifications until `done` or the bound passes.
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds bound = std::chrono::seconds(10));
// A few passes of the event loop, to take in what the server already sent.
void pumpBriefly();

// Xlib errors on connections other than the test windows' (counted by a
// handler the tests install; our adapters must never produce any).
int foreignXErrors();
void installXErrorCounter();

} // namespace hh::test::x11
