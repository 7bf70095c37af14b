#pragma once
// Runs a program for a test (a name without a slash is looked up in PATH):
// arguments, extra environment, its standard output and error collected in
// files; ended only by its own PID, and by the kernel when the test dies.
// The kernel's end comes when the thread that started it ends: start
// programs from the test's own thread, never from a short-lived one.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace hh::test {

class Process {
  public:
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& extraEnv = {});
    ~Process(); // kills it (SIGKILL) when still running
    pid_t pid() const { return pid_; }
    bool running();
    void signal(int sig);
    // Waits for the exit; nullopt-like -1 when it did not end in time.
    int waitForExit(std::chrono::milliseconds timeout);
    std::string output() const; // standard output so far
    std::string errors() const; // standard error so far

  private:
    pid_t pid_ = -1;
    int status_ = -1;
    bool exited_ = false;
    std::filesystem::path out_, err_;
};

// Polls `condition` every millisecond until it holds or `timeout` passes.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// How often `part` occurs in `text` (in a program's output, say).
std::size_t occurrences(const std::string& text, const std::string& part);

} // namespace hh::test
