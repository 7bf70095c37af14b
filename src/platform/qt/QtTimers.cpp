#include "platform/qt/QtTimers.h"

namespace hh {

QtTimer::QtTimer() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // Copy first: the callback may replace itself or stop this timer.
        auto tick = onTick_;
        if (tick)
            tick();
    });
}

void QtTimer::setCallback(std::function<void()> onTick) {
    onTick_ = std::move(onTick);
}

void QtTimer::setInterval(int milliseconds) {
    // Like a UI timer, a new interval restarts a running timer.
    timer_.setInterval(milliseconds < 1 ? 1 : milliseconds);
}

void QtTimer::setEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

} // namespace hh
