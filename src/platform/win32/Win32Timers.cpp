#include "platform/win32/Win32Timers.h"

#include <algorithm>

namespace hh {

Win32Timer::~Win32Timer() {
    setEnabled(false);
    factory_.timers_.erase(id_);
}

void Win32Timer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_)
        setEnabled(true);
}

void Win32Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled) // SetTimer on a running id restarts its interval from now
        SetTimer(factory_.window_.handle(), id_, static_cast<UINT>(std::max(interval_, 0)),
                 nullptr);
    else
        KillTimer(factory_.window_.handle(), id_);
}

void Win32Timer::tick() {
    if (!enabled_)
        return;
    if (auto onTick = onTick_) // a copy: the callback may replace or destroy this timer
        onTick();
}

Win32TimerFactory::Win32TimerFactory()
    : window_([this](UINT message, WPARAM wParam, LPARAM) {
          if (message != WM_TIMER)
              return false;
          const auto found = timers_.find(wParam);
          if (found != timers_.end())
              found->second->tick();
          return true;
      }) {}

std::unique_ptr<Timer> Win32TimerFactory::createTimer() {
    const UINT_PTR id = nextId_++;
    auto timer = std::make_unique<Win32Timer>(*this, id);
    timers_[id] = timer.get();
    return timer;
}

} // namespace hh
