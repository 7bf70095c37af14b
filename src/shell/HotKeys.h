#pragma once
// The re-enable hot key, Ctrl + Command key.
#include <functional>
#include <string>

namespace hh {

class HotKey;
class Settings;

class HotKeys {
  public:
    // `report` shows a line in the console pane (registration problems);
    // `monitoringOff` tells whether File > Enable is enabled.
    HotKeys(HotKey& hotKey, const Settings& settings,
            std::function<void(const std::string&)> report, std::function<bool()> monitoringOff,
            std::function<void()> enableHH);

    void registerAtStart();
    void reregister(); // after CommandKeyCode changed
    void unregisterAtEnd();
    void onHotKey(int id);

  private:
    HotKey& hotKey_;
    const Settings& settings_;
    std::function<void(const std::string&)> report_;
    std::function<bool()> monitoringOff_;
    std::function<void()> enableHH_;
};

} // namespace hh
