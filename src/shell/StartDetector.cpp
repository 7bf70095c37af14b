#include "shell/StartDetector.h"

#include "common/MainView.h"
#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Version.h"
#include "gamelink/DumpPaths.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "shell/DesktopMainView.h"
#include "shell/DetectorView.h"
#include "shell/FrmMain.h"

#include <exception>

namespace hh {
namespace {

constexpr int kNearOriginTwips = 200;

constexpr const char* kNoTrayNote =
    "> No system tray is available here: the Q3 Start Detector window stays on the screen "
    "(minimised at most) so that Handlehound can always be reached.";

constexpr const char* kConfigFolderError =
    "Error!  Config file must be in either the '\\baseq3', '\\arena', '\\osp', 'q3ut2', or "
    "'threewave' folder.";

// A config to exec must lie where the game looks for configs: a mod folder
// or the base folder.
bool configFolderAccepted(const std::string& path, const std::string& baseFolder) {
    for (const char separator : folderSeparators())
        for (const std::string folder : {"osp", "q3ut2", "threewave", "arena", baseFolder.c_str()})
            if (path.find(separator + folder) != std::string::npos)
                return true;
    return false;
}

} // namespace

std::string detectorInfoText() {
    return "     This is the Q3 Start Detector Program. While this program is running, Handlehound "
           "will automatically start when Quake III Arena is started and it will automatically "
           "stop when Quake III Arena is closed. Later versions will also run actions of your "
           "choice when the game starts, such as closing a media player or a chat program, and "
           "undo them when the game ends.";
}

StartDetector::StartDetector(FrmMain& frm, MainView& mainView, Platform& platform,
                             Settings& settings, DetectorView& view)
    : frm_(frm), mainView_(mainView), platform_(platform), settings_(settings), view_(view),
      pollTimer_(platform.timers.createTimer()), poller_(
                                                     *pollTimer_, platform.windows, settings,
                                                     [this] {
                                                         frm_.enableHH();
                                                         view_.setGameStatus(kGameRunningText);
                                                     },
                                                     [this] {
                                                         if (frm_.state().monitoringOn)
                                                             frm_.disableHH();
                                                         view_.setGameStatus(kGameClosedText);
                                                     }) {}

StartDetector::~StartDetector() = default;

bool StartDetector::startUp() {
    detectorHidden_ = false;
    view_.setGameStatus(kGameClosedText);
    showDisabledIcon(); // a tray icon without a picture is not shown
    view_.setTrayVisible(true);
    view_.setTrayToolTip("Handlehound v" + versionText());

    frm_.state().gDumpFileAbsPath = settings_.path();
    const std::string dumpPath = frm_.state().gDumpFileAbsPath;
    if ((dumpPath.empty() || !fileExists(pathOf(dumpPath))) && !view_.runSetupDialog())
        return false;

    view_.setInfoText(detectorInfoText());
    const bool tray = view_.trayAvailable();
    if (settings_.startMin()) {
        view_.setStartMinChecked(true);
        if (tray) {
            detectorHidden_ = true;
            view_.minimizeDetector();
            view_.setDetectorVisible(true);
            view_.setDetectorVisible(false);
            view_.setRestoreCaption(kShowDetectorCaption);
        } else {
            view_.setDetectorVisible(true);
        }
    } else {
        view_.setDetectorVisible(true);
    }

    loadMainWindow();
    if (!tray)
        frm_.appendConsoleLine(kNoTrayNote);
    if (!settings_.startMinHH())
        toggleShowHH();
    view_.setConfigToExec(settings_.configPath());
    poller_.start();
    platform_.sound.play(soundPath("complete.wav"));
    frm_.startKeyServices();
    return true;
}

void StartDetector::activateFromAnotherStart() {
    if (ending_)
        return;
    if (mainWindowShown())
        view_.showMainWindow(); // restores and raises it
    else
        toggleShowHH();
    platform_.sound.beep();
}

void StartDetector::loadMainWindow() {
    view_.restoreMainWindowPlacement();
    frm_.load();
    mainLoaded_ = true;
}

void StartDetector::toggleShowHH() {
    if (!mainLoaded_)
        loadMainWindow();
    if (showHHCaption_ == kShowHHCaption) {
        // Showing sets the normal state, whose resize handling calls this
        // again while the caption still says "show": that inner call only
        // shows the window once more. Captions and buttons come last.
        view_.showMainWindow();
        setShowHHCaption(kHideHHCaption);
        view_.setMainShownButtons(true);
    } else {
        view_.hideMainWindow();
        setShowHHCaption(kShowHHCaption);
        view_.setMainShownButtons(false);
    }
}

void StartDetector::onMainWindowResize(bool minimized) {
    if (minimized && !mainMinimized_) {
        mainMinimized_ = true;
        toggleShowHH();
    } else if (!minimized && mainMinimized_) {
        mainMinimized_ = false;
        toggleShowHH();
    }
}

void StartDetector::unloadMainWindow() {
    if (!mainLoaded_)
        return;
    // The window's state goes (its console is logged, its position stored,
    // its start-up runs again when it is next shown) but monitoring goes on:
    // the dump watcher keeps running while the game does.
    view_.saveMainWindowPlacement();
    frm_.interpreter().LogConsoleText(mainView_.consoleText());
    view_.hideMainWindow();
    mainView_.clearConsole();
    mainLoaded_ = false;
    mainMinimized_ = false;
    setShowHHCaption(kShowHHCaption);
    view_.setMainShownButtons(false);
}

void StartDetector::toggleDetectorWindow(bool fromTrayMenu) {
    if (view_.detectorMinimized()) {
        view_.restoreDetector();
        view_.setDetectorVisible(true);
        view_.setRestoreCaption(kHideDetectorCaption);
    } else {
        view_.minimizeDetector();
        // Without a tray the detector is the way back: minimised, not hidden.
        if (view_.trayAvailable())
            view_.setDetectorVisible(false);
        view_.setRestoreCaption(kShowDetectorCaption);
    }
    if (fromTrayMenu && view_.detectorLeftTwips() < kNearOriginTwips &&
        view_.detectorTopTwips() < kNearOriginTwips)
        view_.centreDetector();
}

void StartDetector::onDetectorResize(bool minimized) {
    if (!minimized)
        return;
    if (!detectorHidden_) {
        detectorHidden_ = true;
        view_.setRestoreCaption(kShowDetectorCaption);
        if (view_.trayAvailable())
            view_.setDetectorVisible(false);
    } else {
        detectorHidden_ = false;
        view_.setRestoreCaption(kHideDetectorCaption);
    }
}

void StartDetector::showEnabledIcon() {
    view_.setTrayIcon(trayIconPath(platform_.paths.programDir(), true));
}

void StartDetector::showDisabledIcon() {
    view_.setTrayIcon(trayIconPath(platform_.paths.programDir(), false));
}

void StartDetector::onTrayPress(int button) {
    view_.bringDetectorToFront();
    if (button == 1)
        toggleShowHH();
    else if (button == 2)
        view_.popUpTrayMenu();
}

void StartDetector::onTrayDoubleClick(int button) {
    onTrayPress(button);
}

void StartDetector::enableFromTray() {
    frm_.enableHH();
}

void StartDetector::disableFromTray() {
    frm_.disableHH();
}

void StartDetector::chooseMod(const std::string& mod) {
    if (frm_.GetCurrentMod() != mod)
        frm_.toggleMod(mod, false);
    // A clicked menu item checks itself; the mod in use decides the checks.
    mainView_.setCheckedMod(frm_.GetCurrentMod());
}

void StartDetector::setStartMin(bool checked) {
    settings_.setStartMin(checked);
}

void StartDetector::browseConfigToExec() {
    try {
        const std::string baseFolder = settings_.baseFolder();
        const std::string startIn = gameFolderPath(frm_.state().gDumpFileAbsPath) + baseFolder;
        for (;;) {
            const auto chosen =
                platform_.dialogs.openFile("Path to Config to Exec on Q3 Start",
                                           "Config files (*.cfg);;All files (*)", startIn);
            if (!chosen)
                return;
            if (fileExists(pathOf(*chosen)) && configFolderAccepted(*chosen, baseFolder)) {
                view_.setConfigToExec(*chosen);
                settings_.setConfigPath(*chosen);
                return;
            }
            platform_.dialogs.messageBox(kConfigFolderError, MessageIcon::Exclamation);
        }
    } catch (const std::exception& e) {
        platform_.dialogs.messageBox(std::string(e.what()) +
                                         "\r\nPlease report \"error in cmdBrwose_Click()\" to "
                                         "the author at bugs@handlehound.example.",
                                     MessageIcon::Critical);
    }
}

void StartDetector::exitProgram() {
    if (ending_)
        return;
    frm_.disableHH();
    unloadEverything(0);
}

void StartDetector::endProgram(int status) {
    if (!ending_)
        unloadEverything(status);
}

void StartDetector::unloadEverything(int status) {
    ending_ = true;
    platform_.events.processPendingEvents();
    if (mainLoaded_) {
        view_.saveMainWindowPlacement();
        frm_.queryUnload();
        view_.hideMainWindow();
        mainLoaded_ = false;
    }
    platform_.events.processPendingEvents();
    detectorQueryUnload();
    frm_.stopKeyServices();
    view_.setDetectorVisible(false);
    view_.quitProgram(status);
}

void StartDetector::detectorQueryUnload() {
    poller_.stop();
    frm_.resultScript().writeResultScript("Handlehound is Not Running.");
    view_.setTrayVisible(false);
    platform_.sound.play(soundPath("off.wav"));
}

std::string StartDetector::soundPath(const std::string& name) const {
    return textOf(platform_.paths.programDir() / "Sound" / pathOf(name));
}

void StartDetector::setShowHHCaption(const char* caption) {
    showHHCaption_ = caption;
    view_.setShowHHCaption(caption);
}

} // namespace hh
