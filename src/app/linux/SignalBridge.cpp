#include "app/linux/SignalBridge.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace hh {
namespace {

int fds[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(fds[0], &byte, 1);
}

} // namespace

SignalBridge::SignalBridge(std::function<void()> onTerminate)
    : onTerminate_(std::move(onTerminate)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fds[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const auto n = ::read(fds[1], &byte, 1);
        if (onTerminate_)
            onTerminate_();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

SignalBridge::~SignalBridge() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

} // namespace hh
