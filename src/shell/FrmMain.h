#pragma once
// The main window object as the logic sees it: the composition root that
// holds the shared state, builds every subsystem with exactly the
// collaborators it uses, and keeps the public operations under their names.
#include "commands/Interpreter.h"
#include "commands/ProgramControl.h"
#include "common/SharedState.h"
#include "gamelink/ConsoleLogRoad.h"
#include "gamelink/DumpWatcher.h"
#include "gamelink/GameScript.h"
#include "gamelink/NameEvents.h"
#include "gamelink/OwnGuid.h"
#include "gamelink/PlayerTable.h"
#include "gamelink/ResultCall.h"
#include "gamelink/ResultScript.h"
#include "gamelink/Sightings.h"
#include "lookup/LookupHandler.h"
#include "lookup/NameThiefWatch.h"
#include "lookup/PlayerRecords.h"
#include "shell/HotKeys.h"
#include "shell/Keyboardhandler.h"

#include <memory>
#include <string>

namespace hh {

struct Platform;
class MainView;
class Settings;
class ProgramHost;

class FrmMain : public ProgramControl {
  public:
    FrmMain(Platform& platform, MainView& view, Settings& settings, ProgramHost& host);
    ~FrmMain() override;

    // The window's load: selects the mod, reads the settings mirrors, writes
    // the welcome and waiting lines. Monitoring stays neither on nor off.
    void load();
    // The window's query-unload: timers stop, the console goes to the log.
    void queryUnload();

    // ProgramControl
    void enableHH() override;
    void disableHH() override;
    void quitProgram() override;
    void reregisterHotKey() override;
    void keyCodesChanged() override;

    void toggleDeveloperMode(int index = 0);
    bool developerMode() const { return developerMode_; }
    void appendConsoleLine(const std::string& line);
    // A problem the user must hear about (a file that could not be written):
    // console pane and standard error.
    void reportProblem(const std::string& message);

    // Public operations of the main window, delegated.
    void processFile(const std::string& strInCmd, int unused = 0) {
        interpreter_.processFile(strInCmd, unused);
    }
    void readyForNextCmd(const std::string& soundFile, const std::string& statusMsg,
                         bool timerReEnabled, int numSeconds, bool log, bool copyToClip,
                         bool updateModifiedTime) {
        result_.readyForNextCmd(soundFile, statusMsg, timerReEnabled, numSeconds, log, copyToClip,
                                updateModifiedTime);
    }
    void toggleMod(const std::string& mod, bool formInit = false) {
        watcher_.toggleMod(mod, formInit);
    }
    std::string GetCurrentMod() const { return watcher_.GetCurrentMod(); }
    std::string GetDumpFileAbsPath() const { return watcher_.GetDumpFileAbsPath(); }
    void SetDumpFileAbsPath(const std::string& path) { watcher_.SetDumpFileAbsPath(path); }
    void changeCmdIssueDelay(int delayVal) { gameScript_.changeCmdIssueDelay(delayVal); }
    std::int16_t getNumAliases() const { return state_.numAliases; }
    void setNumAliases(std::int16_t n) { state_.numAliases = n; }
    void setNameColor(const std::string& unused = {});
    void setSepColor(const std::string& unused = {});
    // GUID Search (Tools menu): asks for a GUID, then runs "guid <answer>".
    void guidSearch();
    // Registers the re-enable hot key (start-up) and says once when typed
    // commands cannot be observed here.
    void startKeyServices();
    void stopKeyServices();
    // Let the lookup use this address instead of Main / LookupURL.
    void setLookupUrlOverride(const std::string& url) { lookup_.setLookupUrlOverride(url); }

    SharedState& state() { return state_; }
    Settings& settings() { return settings_; }
    Interpreter& interpreter() { return interpreter_; }
    DumpWatcher& watcher() { return watcher_; }
    ConsoleLogRoad& logRoad() { return logRoad_; }
    Keyboardhandler& keyboard() { return keyboard_; }
    GameScript& gameScript() { return gameScript_; }
    PlayerTable& playerTable() { return playerTable_; }
    LookupHandler& lookup() { return lookup_; }
    ResultScriptWriter& resultScript() { return writer_; }
    Timer& modifiedCheckTimer() { return *modifiedCheck_; }

  private:
    Platform& platform_;
    MainView& view_;
    Settings& settings_;
    ProgramHost& host_;
    SharedState state_;
    std::unique_ptr<Timer> modifiedCheck_;
    std::unique_ptr<Timer> clearClip_;
    std::unique_ptr<Timer> countTo_;
    ResultScriptWriter writer_;
    ResultCall result_;
    Keyboardhandler keyboard_;
    DumpWatcher watcher_;
    LookupHandler lookup_;
    GameScript gameScript_;
    Interpreter interpreter_;
    HotKeys hotKeys_;
    PlayerTable playerTable_;
    SightingsReporter sightings_;
    NameEventReporter names_;
    ConsoleLogRoad logRoad_;
    OwnGuidLearner ownGuid_;
    RecordsClient records_;
    NameThiefWatch thiefWatch_;
    bool developerMode_ = false;
    // Work posted to the event loop checks this before it touches the window.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    // After a command from a dump: the player's own GUID, the players to
    // record, and the name thieves among them.
    void takeInPlayers(const std::string& dumpText);
    void runKeyedCommand(const std::string& word, const std::string& argument);
};

// The welcome text written to the console on a first start.
std::string welcomeText();

} // namespace hh
