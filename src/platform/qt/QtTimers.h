#pragma once
#include "platform/Timer.h"

#include <QObject>
#include <QTimer>

namespace hh {

// A Timer on QTimer: ticks arrive through the Qt event loop of the UI thread.
class QtTimer : public Timer {
  public:
    QtTimer();
    void setCallback(std::function<void()> onTick) override;
    void setInterval(int milliseconds) override;
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> onTick_;
};

class QtTimerFactory : public TimerFactory {
  public:
    std::unique_ptr<Timer> createTimer() override { return std::make_unique<QtTimer>(); }
};

class SystemClock : public Clock {
  public:
    std::chrono::system_clock::time_point now() const override {
        return std::chrono::system_clock::now();
    }
};

} // namespace hh
