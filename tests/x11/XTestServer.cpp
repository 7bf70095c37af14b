#include "XTestServer.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace hh::test::x11 {

void ChildProcess::start(const std::vector<std::string>& argv, int keepFd) {
    stop();
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if ((pid_ = fork()) != 0)
        return;
    // A test that crashes must not leave its X server or tools behind.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int out = open("/dev/null", O_WRONLY);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    execvp(args[0], args.data());
    _exit(127);
}

int ChildProcess::wait() {
    int status = 0;
    const bool ended = pid_ > 0 && waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
    kill(pid_, SIGKILL);
    wait();
}

int xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    ChildProcess child;
    child.start(argv);
    return child.wait();
}

Xvfb::Xvfb() {
    int fds[2];
    if (pipe(fds) != 0)
        return;
    // Xvfb picks a free display number and writes it to the pipe. Without
    // -noreset it resets whenever its last client leaves, and a test that
    // connects at that moment is refused.
    process_.start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                    "-nolisten", "tcp", "-noreset"},
                   fds[1]);
    close(fds[1]);
    std::string number;
    char buffer[32];
    pollfd p{fds[0], POLLIN, 0};
    for (ssize_t n = 0; number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0 &&
                        (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        number.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    started_ = number.find('\n') != std::string::npos;
    if (!started_) {
        process_.stop();
        return;
    }
    const std::string display = ':' + number.substr(0, number.find('\n'));
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
}

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace hh::test::x11
