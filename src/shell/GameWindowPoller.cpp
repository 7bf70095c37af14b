#include "shell/GameWindowPoller.h"

#include "platform/Timer.h"
#include "platform/WindowSystem.h"
#include "settings/Settings.h"

namespace hh {

GameWindowPoller::GameWindowPoller(Timer& timer, WindowSystem& windows, const Settings& settings,
                                   std::function<void()> onGameStarted,
                                   std::function<void()> onGameStopped)
    : timer_(timer), windows_(windows), settings_(settings), onStarted_(std::move(onGameStarted)),
      onStopped_(std::move(onGameStopped)) {
    timer_.setCallback([this] { tick(); });
}

void GameWindowPoller::start() {
    timer_.setInterval(100);
    timer_.start();
}

void GameWindowPoller::stop() {
    timer_.stop();
}

void GameWindowPoller::tick() {
    if (timer_.interval() == 100)
        timer_.setInterval(2500);
    const bool found = windows_.findWindowByTitle(settings_.gameWindowTitle()) != 0;
    if (found && !running_) {
        running_ = true;
        if (onStarted_)
            onStarted_();
    } else if (!found && running_) {
        running_ = false;
        if (onStopped_)
            onStopped_();
    }
}

} // namespace hh
