#include "XTestServer.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace hh::test::x11 {
namespace {

// fork + exec with stdout/stderr sent to a file (or /dev/null); `keepFd`
// stays open in the child.
pid_t spawn(const std::vector<std::string>& argv, const std::string& outputFile, int keepFd) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // A test that crashes must not leave its X server or tools behind.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int out = open(outputFile.empty() ? "/dev/null" : outputFile.c_str(),
                         O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
    }
    const int in = open("/dev/null", O_RDONLY);
    if (in >= 0)
        dup2(in, STDIN_FILENO);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    execvp(args[0], args.data());
    _exit(127);
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& outputFile)
    : pid_(spawn(argv, outputFile, -1)) {}

ChildProcess ChildProcess::adopt(pid_t pid) {
    ChildProcess child;
    child.pid_ = pid;
    return child;
}

ChildProcess::~ChildProcess() {
    stop();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : pid_(other.pid_) {
    other.pid_ = -1;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        stop();
        pid_ = other.pid_;
        other.pid_ = -1;
    }
    return *this;
}

bool ChildProcess::running() {
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void ChildProcess::stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100 && running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

int runProgram(const std::vector<std::string>& argv) {
    const pid_t pid = spawn(argv, {}, -1);
    if (pid < 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv);
}

Xvfb::Xvfb() {
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const auto dir =
            std::filesystem::temp_directory_path() / ("hh-x11-runtime-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        chmod(dir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        runtimeDir_ = dir.string();
    }
    int fds[2];
    if (pipe(fds) != 0)
        return;
    // Xvfb picks a free display number and writes it to the pipe. Without
    // -noreset it resets whenever its last client leaves, and a test that
    // connects at that moment is refused.
    process_ = ChildProcess::adopt(spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen",
                                          "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
                                         {}, fds[1]));
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
        char buffer[32];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        process_.stop();
        return;
    }
    display_ = ":" + number.substr(0, number.find('\n'));
    setenv("DISPLAY", display_.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
}

Xvfb::~Xvfb() {
    process_.stop();
    if (!runtimeDir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir_, ignored);
    }
}

} // namespace hh::test::x11
