#pragma once
// Timers on WM_TIMER of a message-only window: ticks arrive through the UI
// thread's message loop, between other messages.
#include "platform/Timer.h"
#include "platform/win32/MessageWindow.h"

#include <map>

namespace hh {

class Win32TimerFactory;

class Win32Timer : public Timer {
  public:
    Win32Timer(Win32TimerFactory& factory, UINT_PTR id) : factory_(factory), id_(id) {}
    ~Win32Timer() override;
    void setCallback(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }
    void tick();

  private:
    Win32TimerFactory& factory_;
    UINT_PTR id_;
    std::function<void()> onTick_;
    int interval_ = 0;
    bool enabled_ = false;
};

class Win32TimerFactory : public TimerFactory {
  public:
    Win32TimerFactory();
    std::unique_ptr<Timer> createTimer() override;

  private:
    friend class Win32Timer;
    // A WM_TIMER already queued when its timer goes finds no entry here.
    std::map<UINT_PTR, Win32Timer*> timers_;
    UINT_PTR nextId_ = 1;
    MessageWindow window_;
};

class SystemClock : public Clock {
  public:
    std::chrono::system_clock::time_point now() const override {
        return std::chrono::system_clock::now();
    }
};

} // namespace hh
