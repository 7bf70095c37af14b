#pragma once
// A user-interface timer: fires its callback on the UI thread every interval
// while it is enabled. Mirrors the enabled/interval pair the logic thinks in.
#include <chrono>
#include <functional>
#include <memory>

namespace hh {

class Timer {
  public:
    virtual ~Timer() = default;
    virtual void setCallback(std::function<void()> onTick) = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    // Enabling restarts the interval from now, as a UI timer does.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    void start() { setEnabled(true); }
    void stop() { setEnabled(false); }
};

class TimerFactory {
  public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> createTimer() = 0;
};

// Wall-clock time. Virtual in tests so that dates and times are fixed.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() const = 0;
};

} // namespace hh
