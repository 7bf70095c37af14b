#include "shell/FrmMain.h"

#include "common/MainView.h"
#include "common/PathText.h"
#include "common/Strings.h"
#include "gamelink/DumpPaths.h"
#include "gamelink/PlayerList.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "shell/ProgramHost.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace hh {
namespace {

constexpr const char* kReportTo = "bugs@handlehound.example";

// A failure inside an operation the user started ends that operation with
// a box that says what went wrong and which operation to report.
template <typename F> void reportingFailures(Dialogs& dialogs, const char* operation, F&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        dialogs.messageBox(std::string(e.what()) + "\r\nPlease report \"error in " + operation +
                               "\" to the author at " + kReportTo + ".",
                           MessageIcon::Critical);
    }
}

} // namespace

std::string welcomeText() {
    return "Welcome to Handlehound!\r\n"
           "   Handlehound is written by hhdev of Kennel Works. "
           "Use Handlehound to retrieve a list of all known aliases used by a player while on any "
           "Vivereroz Quake III Arena server. It reads the PunkBuster player list of the game and "
           "looks each player's GUID up in the alias database.\r\n"
           "     For help on using Handlehound, consult the Handlehound_README.TXT file which can "
           "be "
           "opened from the Help menu above or from the Handlehound program group in the start "
           "menu. To view a list of commands recognized by Handlehound, type '/hh help' or '/hh "
           "commands' while in Quake III Arena. Then, just press the Status/Results Key to view "
           "the "
           "results.\r\n";
}

FrmMain::FrmMain(Platform& platform, MainView& view, Settings& settings, ProgramHost& host)
    : platform_(platform), view_(view), settings_(settings), host_(host),
      modifiedCheck_(platform.timers.createTimer()), clearClip_(platform.timers.createTimer()),
      countTo_(platform.timers.createTimer()),
      writer_(state_, settings_, [this](const std::string& m) { reportProblem(m); }),
      result_(state_, settings_, platform_, view_, writer_, *modifiedCheck_, *clearClip_),
      keyboard_(
          state_, settings_, platform_.keys, view_, *clearClip_,
          KeyboardCallbacks{[this](const std::string& line) { interpreter_.processFile(line, 1); },
                            [this](const std::string& word, const std::string& arg) {
                                runKeyedCommand(word, arg);
                            },
                            [this] { interpreter_.clearLastCommand(); }}),
      watcher_(state_, settings_, platform_, view_, writer_, result_, *modifiedCheck_, *clearClip_,
               keyboard_),
      lookup_(state_, settings_, platform_, view_, result_),
      gameScript_(state_, settings_, platform_),
      interpreter_(CommandContext{state_, settings_, platform_, view_, writer_, result_, watcher_,
                                  lookup_, gameScript_, *this, *modifiedCheck_, *clearClip_,
                                  *countTo_}),
      hotKeys_(
          platform_.hotKey, settings_, [this](const std::string& m) { appendConsoleLine(m); },
          [this] { return !state_.monitoringOn; }, [this] { enableHH(); }),
      sightings_(
          settings_, platform_, [this](const std::string& m) { appendConsoleLine(m); },
          [this] { return lookup_.lookupAddress(); }),
      names_(
          settings_, platform_, [this](const std::string& m) { appendConsoleLine(m); },
          [this] { return lookup_.lookupAddress(); }),
      logRoad_(state_, settings_, platform_, names_,
               [this](const std::string& command) { interpreter_.runLoggedCommand(command); }),
      ownGuid_(settings_, [this](const std::string& m) { appendConsoleLine(m); }),
      records_(platform_, [this] { return lookup_.lookupAddress(); }),
      thiefWatch_(records_, [this](const std::string& m) { appendConsoleLine(m); }) {
    watcher_.setProcessFile([this](const std::string& cmd) {
        interpreter_.processFile(cmd);
        // The players of the dump the command came from go to the alias
        // database after the answer is written, so recording and checking
        // never delay it (and a dump the game writes meanwhile is not
        // mistaken for it).
        auto dump = std::make_shared<std::string>(std::move(state_.lastDumpText));
        state_.lastDumpText.clear();
        platform_.events.postToUiThread([alive = std::weak_ptr<bool>(alive_), this, dump] {
            if (alive.lock())
                takeInPlayers(*dump);
        });
    });
    lookup_.setClearLastCommand([this] { interpreter_.clearLastCommand(); });
    platform_.sound.setProblemReport([this](const std::string& line) { appendConsoleLine(line); });
    names_.trackPresenceIn(state_.namesOnServer);
    watcher_.setOnDumpMoved([this] { logRoad_.followLogBesideDump(); });
    watcher_.attach();
}

FrmMain::~FrmMain() {
    platform_.sound.setProblemReport(nullptr);
}

void FrmMain::takeInPlayers(const std::string& dumpText) {
    if (dumpText.empty())
        return;
    const PlayerListing listing = currentPlayersIn(dumpText);
    // The player's own GUID is known before the first recording leaves it out.
    const std::string& dump = state_.gDumpFileAbsPath;
    ownGuid_.learnFrom(listing, {modFolderPath(dump) + "/q3config.cfg",
                                 gameFolderPath(dump) + settings_.baseFolder() + "/q3config.cfg"});
    if (settings_.recordSightings())
        sightings_.recordFromDump(dumpText, watcher_.GetCurrentMod());
    // The log shows every event as it happens, with its colours; the dump
    // stands in for it only where no log is written. Taken even when nothing
    // is recorded: it says who is on the server.
    names_.takeDump(dumpText, !state_.consoleLogLive);
    names_.flush();
    thiefWatch_.check(listing.players);
}

void FrmMain::runKeyedCommand(const std::string& word, const std::string& argument) {
    // The log shows the same Enter, with the text exactly as typed (the key
    // observer cannot tell "_" from "-"): it answers.
    if (state_.consoleLogLive)
        return;
    state_.keyboardCommand = trimBlanks(word + " " + argument);
    state_.keyboardCommandAt = platform_.clock.now();
    interpreter_.runTypedCommand(word, argument);
}

void FrmMain::load() {
    if (!state_.gDumpFileAbsPath.empty()) {
        watcher_.toggleMod(watcher_.GetCurrentMod(), true);
        // Before the game starts and runs the script: it switches the log.
        gameScript_.applyConsoleLogSetting();
    }
    std::error_code ec;
    if (!state_.gDumpFileAbsPath.empty())
        std::filesystem::current_path(pathOf(modFolderPath(state_.gDumpFileAbsPath)), ec);
    state_.numAliases = settings_.numAliasesAtLoad();
    if (settings_.isDeveloper())
        toggleDeveloperMode(0);
    if (settings_.isNewUser()) {
        view_.appendConsole(welcomeText() + "\r\n\r\n");
        settings_.setNewUserSeen();
    }
    view_.appendConsole("> Waiting for Quake III Arena to Start. . .\r\n");
    state_.nameColor = settings_.nameColorRaw();
    state_.sepColor = settings_.sepColorRaw();
}

void FrmMain::queryUnload() {
    clearClip_->stop();
    modifiedCheck_->stop();
    countTo_->stop();
    interpreter_.LogConsoleText(view_.consoleText());
}

void FrmMain::enableHH() {
    reportingFailures(platform_.dialogs, "enableHH()", [this] {
        state_.monitoringOn = true;
        // Until the log shows a line again, typed commands may need the keys.
        state_.consoleLogLive = false;
        logRoad_.followLogBesideDump();
        view_.setMonitoringControls(true);
        state_.searchByPbId = false;
        state_.gLastModified = modifiedTimeText(pathOf(state_.gDumpFileAbsPath));
        view_.setTrayIconEnabled(true);
        result_.readyForNextCmd("on.wav", "Handlehound is ENABLED. Waiting for Command. . .", true,
                                -1, true, false, false);
        view_.setStateIcon(true, "Enabled - Click to Disable");
        view_.setStatusText("Handle Hound is ENABLED. Waiting for command. . .");
        if (platform_.windows.findWindowByTitle(settings_.gameWindowTitle()) != 0) {
            const std::string configPath = settings_.configPath();
            if (!configPath.empty())
                gameScript_.addExecLine(textOf(pathOf(configPath).filename()));
            gameScript_.addExecLine("");
        }
    });
}

void FrmMain::disableHH() {
    reportingFailures(platform_.dialogs, "disableHH()", [this] {
        state_.monitoringOn = false;
        view_.setMonitoringControls(false);
        state_.searchName.clear();
        state_.searchValue.clear();
        state_.searchByPbId = false;
        if (state_.keyboardHooked) {
            keyboard_.unhookKeyboard();
            state_.keyboardHooked = false;
        }
        view_.setTrayIconEnabled(false);
        result_.readyForNextCmd(
            "off.wav", "Handlehound is DISABLED. Return to Handlehound to Re-enable Commands.",
            false, -1, true, false, false);
        view_.setStateIcon(false, "Disabled - Click to Enable");
        view_.setStatusText("Handle Hound is DISABLED.");
    });
}

void FrmMain::quitProgram() {
    disableHH();
    host_.endProgram(0);
}

void FrmMain::reregisterHotKey() {
    hotKeys_.reregister();
}

void FrmMain::keyCodesChanged() {
    keyboard_.refreshKeyCodes();
}

void FrmMain::toggleDeveloperMode(int /*index*/) {
    developerMode_ = !developerMode_;
    settings_.setDeveloper(developerMode_);
    host_.showDeveloperControls(developerMode_);
}

void FrmMain::appendConsoleLine(const std::string& line) {
    view_.appendConsole("\r\n" + line);
}

void FrmMain::reportProblem(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    appendConsoleLine(message);
}

void FrmMain::setNameColor(const std::string&) {
    state_.nameColor = settings_.nameColorRaw();
}
void FrmMain::setSepColor(const std::string&) {
    state_.sepColor = settings_.sepColorRaw();
}

void FrmMain::guidSearch() {
    const auto answer =
        platform_.dialogs.inputBox("GUID Search", "Enter a PunkBuster GUID to search for:");
    if (answer && !answer->empty())
        interpreter_.processFile("guid " + *answer);
}

void FrmMain::startKeyServices() {
    // Without a key observer there is no hot key either: one notice says both.
    std::string why;
    if (!platform_.keys.available(&why)) {
        appendConsoleLine(keyObserverUnavailableMessage(why));
        return;
    }
    hotKeys_.registerAtStart();
}

void FrmMain::stopKeyServices() {
    if (state_.keyboardHooked) {
        keyboard_.unhookKeyboard();
        state_.keyboardHooked = false;
    }
    hotKeys_.unregisterAtEnd();
}

} // namespace hh
