#include "gamelink/ConsoleLogRoad.h"

#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/CommandPickup.h"
#include "gamelink/DumpPaths.h"
#include "gamelink/NameEvents.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace hh {
namespace {
constexpr std::string_view kPrefix = "/hh ";
} // namespace

ConsoleLogRoad::ConsoleLogRoad(SharedState& state, Settings& settings, Platform& platform,
                               NameEventReporter& names,
                               std::function<void(const std::string&)> runCommand)
    : state_(state), settings_(settings), platform_(platform), names_(names),
      runCommand_(std::move(runCommand)),
      follower_(platform.logWatcher, [this](std::string_view line) { onLine(line); }) {}

void ConsoleLogRoad::followLogBesideDump() {
    const std::string dump = state_.gDumpFileAbsPath;
    const std::string path = dump.empty() || !settings_.consoleLog()
                                 ? std::string()
                                 : modFolderPath(dump) + "/" + settings_.consoleLogName();
    if (path != follower_.path())
        follower_.follow(path);
}

void ConsoleLogRoad::later(std::function<void()> work) {
    platform_.events.postToUiThread([alive = std::weak_ptr<bool>(alive_), work = std::move(work)] {
        if (alive.lock())
            work();
    });
}

void ConsoleLogRoad::onLine(std::string_view line) {
    state_.consoleLogLive = true;
    // The same rule and code as the dump's: only lines the player typed.
    if (auto command = typedCommandInLine(line, kPrefix)) {
        onTypedLine(line, *command);
        return;
    }
    const std::size_t before = names_.pendingCount();
    names_.takeLine(line, ConsoleForm::Log);
    if (names_.pendingCount() > before && !flushPending_) {
        flushPending_ = true;
        later([this] {
            flushPending_ = false;
            names_.flush();
        });
    }
}

void ConsoleLogRoad::onTypedLine(std::string_view line, const std::string& command) {
    // The engine ends every player name it prints with "^7", and a name may
    // begin with "]/hh": such a line is another player's, not one typed here.
    // The player's own line carries the colour code only when typed so; it
    // then reaches the program through the dump (which drops colour codes).
    if (contains(line, "^7") || !state_.monitoringOn || keyObserverRan(command))
        return;
    later([this, command] { runCommand_(command); });
}

// The key observer sees the Enter too; when it ran this command a moment
// ago, the log's line is the same one.
bool ConsoleLogRoad::keyObserverRan(const std::string& command) {
    const bool same = !state_.keyboardCommand.empty() &&
                      state_.keyboardCommand == toLower(trimBlanks(command)) &&
                      platform_.clock.now() - state_.keyboardCommandAt < kSameEnter;
    if (same)
        state_.keyboardCommand.clear();
    return same;
}

} // namespace hh
