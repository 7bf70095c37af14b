#pragma once
// The console log road: the engine writes every console line to its log the
// moment it is printed (the game-side script switches the log on), so a
// typed "/hh ..." line is answered as Enter is pressed, with no key watching,
// and the arrivals, renames and leaves the log shows become name links.
#include "gamelink/LogFollower.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace hh {

struct SharedState;
struct Platform;
class Settings;
class NameEventReporter;

class ConsoleLogRoad {
  public:
    // `runCommand` gets the text after "/hh " of a line the player typed.
    ConsoleLogRoad(SharedState& state, Settings& settings, Platform& platform,
                   NameEventReporter& names, std::function<void(const std::string&)> runCommand);

    // Follows the log beside the dump (when the setting allows); call again
    // when the dump moves to another folder.
    void followLogBesideDump();
    const std::string& followedPath() const { return follower_.path(); }

    // A command the key observer saw typed is the same Enter the log shows.
    static constexpr std::chrono::seconds kSameEnter{2};

  private:
    void onLine(std::string_view line);
    void onTypedLine(std::string_view line, const std::string& command);
    bool keyObserverRan(const std::string& command);
    // Work after the read: commands and posts may change what is followed.
    void later(std::function<void()> work);

    SharedState& state_;
    Settings& settings_;
    Platform& platform_;
    NameEventReporter& names_;
    std::function<void(const std::string&)> runCommand_;
    LogFollower follower_;
    bool flushPending_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace hh
