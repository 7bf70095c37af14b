#include "XTestServer.h"

#include <QCoreApplication>

#include <csignal>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace hh::test::x11 {

int xdotool(const std::vector<std::string>& args) {
    return Process("xdotool", args).waitForExit(std::chrono::seconds(30));
}

Xvfb::Xvfb() {
    int fds[2];
    if (pipe(fds) != 0)
        return;
    // Xvfb picks a free display number and writes it to the pipe. Without
    // -noreset it resets whenever its last client leaves, and a test that
    // connects at that moment is refused.
    process_ = std::make_unique<Process>(
        "Xvfb", std::vector<std::string>{"-displayfd", std::to_string(fds[1]), "-screen", "0",
                                         "1024x768x24", "-nolisten", "tcp", "-noreset"});
    close(fds[1]);
    std::string number;
    char buffer[32];
    pollfd p{fds[0], POLLIN, 0};
    for (ssize_t n = 0; number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0 &&
                        (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        number.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    started_ = number.find('\n') != std::string::npos;
    if (!started_)
        return;
    const std::string display = ':' + number.substr(0, number.find('\n'));
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
}

// SIGTERM lets Xvfb remove its lock file and socket.
Xvfb::~Xvfb() {
    if (process_) {
        process_->signal(SIGTERM);
        process_->waitForExit(std::chrono::seconds(5));
    }
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
