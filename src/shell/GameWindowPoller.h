#pragma once
// tmrProgCheck: looks for the game window, first after 100 ms, then every
// 2.5 s, and reports each start and each stop of the game once.
#include <functional>
#include <string>

namespace hh {

class Timer;
class WindowSystem;
class Settings;

class GameWindowPoller {
  public:
    GameWindowPoller(Timer& timer, WindowSystem& windows, const Settings& settings,
                     std::function<void()> onGameStarted, std::function<void()> onGameStopped);
    void start(); // interval 100 ms, enabled
    void stop();
    void tick();
    bool gameRunning() const { return running_; }

  private:
    Timer& timer_;
    WindowSystem& windows_;
    const Settings& settings_;
    std::function<void()> onStarted_, onStopped_;
    bool running_ = false;
};

} // namespace hh
