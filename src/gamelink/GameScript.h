#pragma once
// Upkeep of the game-side script handleHound.cfg and of the exec lines in
// the game's configuration files.
#include <string>

namespace hh {

struct SharedState;
struct Platform;
class Settings;

class GameScript {
  public:
    GameScript(SharedState& state, Settings& settings, Platform& platform);

    void changeCmdIssueDelay(int delayVal);
    // Both names are turned to lower case in the caller's variables.
    void changeKeyBinding(std::string& oldKey, std::string& newKey);
    void addExecLine(const std::string& scriptFileName);
    void installGameScript();

  private:
    SharedState& state_;
    Settings& settings_;
    Platform& platform_;
};

} // namespace hh
