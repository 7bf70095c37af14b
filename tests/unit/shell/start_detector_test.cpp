#include "fakes/FakePlatform.h"
#include "gamelink/ResultScript.h"
#include "settings/Settings.h"
#include "shell/DesktopMainView.h"
#include "shell/DetectorView.h"
#include "shell/FrmMain.h"
#include "shell/ProgramHost.h"
#include "shell/StartDetector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace hh::test {
namespace {

// Records what the detector shows and reports minimise/restore back as a
// window system does.
class FakeDetectorView : public DetectorView {
  public:
    void setGameStatus(const std::string& t) override { status = t; }
    void setInfoText(const std::string& t) override { info = t; }
    void setConfigToExec(const std::string& p) override { configToExec = p; }
    void setStartMinChecked(bool c) override { startMinChecked = c; }
    void setMainShownButtons(bool shown) override { showButtonEnabled = !shown; }
    bool trayAvailable() const override { return tray; }
    void setTrayVisible(bool v) override {
        log.push_back((trayVisible = v) ? "tray on" : "tray off");
    }
    void setTrayToolTip(const std::string& t) override { trayTip = t; }
    void setTrayIcon(const std::string& p) override { trayIcon = p; }
    void setShowHHCaption(const std::string& c) override { showHHCaption = c; }
    void setRestoreCaption(const std::string& c) override { restoreCaption = c; }
    void setTrayMonitoringItems(bool on) override { trayDisableEnabled = on; }
    void setTrayCheckedMod(const std::string& m) override { trayCheckedMod = m; }
    void popUpTrayMenu() override { ++menuPopups; }
    bool detectorMinimized() const override { return detMinimized; }
    void minimizeDetector() override { setDetectorMinimized(true); }
    void restoreDetector() override { setDetectorMinimized(false); }
    void setDetectorVisible(bool v) override { detVisible = v; }
    void bringDetectorToFront() override { ++detFronts; }
    int detectorLeftTwips() const override { return left; }
    int detectorTopTwips() const override { return top; }
    void centreDetector() override { ++centred; }
    void showMainWindow() override {
        log.push_back("show main");
        mainVisible = true;
        setMainMinimized(false);
    }
    void hideMainWindow() override {
        log.push_back("hide main");
        mainVisible = false;
    }
    void restoreMainWindowPlacement() override { log.push_back("restore placement"); }
    void saveMainWindowPlacement() override { log.push_back("save placement"); }
    bool runSetupDialog() override {
        log.push_back("setup");
        return setupAnswer && setupAnswer();
    }
    void quitProgram(int s) override { log.push_back("quit " + std::to_string(quitStatus = s)); }

    void setDetectorMinimized(bool m) {
        if (detMinimized != m)
            detector->onDetectorResize(detMinimized = m);
    }
    // Also what the user does from the main window's title bar.
    void setMainMinimized(bool m) {
        if (mainMinimized != m)
            detector->onMainWindowResize(mainMinimized = m);
    }

    StartDetector* detector = nullptr;
    std::vector<std::string> log;
    std::function<bool()> setupAnswer;
    std::string status, info, configToExec, trayTip, trayIcon, showHHCaption, restoreCaption,
        trayCheckedMod;
    bool tray = true, trayVisible = false, startMinChecked = false, showButtonEnabled = true,
         trayDisableEnabled = false, detMinimized = false, detVisible = false, mainVisible = false,
         mainMinimized = false;
    int menuPopups = 0, detFronts = 0, centred = 0, left = 3000, top = 3000, quitStatus = -1;
};

// The desktop's host: the "quit" command ends through the start detector.
class FakeHost : public ProgramHost {
  public:
    void endProgram(int status) override { detector->endProgram(status); }
    void showDeveloperControls(bool) override {}
    StartDetector* detector = nullptr;
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

// A game folder <temp>/game with baseq3 and osp (dump present), the settings
// pointing at it, and the whole desktop logic built over the fakes.
class StartDetectorTest : public ::testing::Test {
  protected:
    StartDetectorTest()
        : settings(fp.temp / "handleHound.ini"), mainView(window, view, fp.paths.program),
          frm(fp.platform, mainView, settings, host),
          detector(frm, mainView, fp.platform, settings, view) {
        view.detector = host.detector = &detector;
        writeFile(dumpPath(), "");
        writeFile(gameDir() / "baseq3" / "autoexec.cfg", "");
        settings.setPath(dumpPath().generic_string());
        settings.setNewUserSeen();
    }
    std::filesystem::path gameDir() const { return fp.temp / "game"; }
    std::filesystem::path dumpPath() const { return gameDir() / "osp" / "handleHound.who"; }
    std::string hhCfg() const { return readFile(gameDir() / "baseq3" / "hh.cfg"); }
    std::string consoleLog() const { return readFile(fp.paths.program / "log" / "console.log"); }
    void gameUp() { fp.windows.windows[settings.gameWindowTitle()] = 77; }
    long count(const std::string& sound) const {
        const auto names = fp.sound.names();
        return std::count(names.begin(), names.end(), sound);
    }
    // The game's window is up at start; the first poll switches monitoring on.
    void startWithGameRunning() {
        gameUp();
        ASSERT_TRUE(detector.startUp());
        fp.clock.advance(100);
        ASSERT_TRUE(frm.state().monitoringOn);
    }

    FakePlatform fp;
    Settings settings;
    FakeMainView window;
    FakeDetectorView view;
    FakeHost host;
    DesktopMainView mainView;
    FrmMain frm;
    StartDetector detector;
};

TEST_F(StartDetectorTest, StartUpShowsEverythingAndLeavesMonitoringUndecided) {
    settings.setConfigPath("/games/q3/osp/match.cfg");
    ASSERT_TRUE(detector.startUp());
    EXPECT_EQ(view.configToExec, "/games/q3/osp/match.cfg");
    EXPECT_EQ(view.status, "Quake III Arena is currently: Closed");
    EXPECT_TRUE(view.detVisible);
    EXPECT_EQ(fp.sound.names(), std::vector<std::string>{"complete.wav"});
    EXPECT_TRUE(fp.hotKey.isRegistered());
    EXPECT_EQ(view.log, (std::vector<std::string>{"tray on", "restore placement", "show main"}));
    // Neither on nor off until the first poll.
    EXPECT_FALSE(frm.state().monitoringOn);
    EXPECT_FALSE(frm.modifiedCheckTimer().isEnabled());
    EXPECT_TRUE(detector.pollTimer().isEnabled());
}

struct SetupCase {
    const char* name;
    bool pathEmpty, dumpMissing, userCancels, setupShown, started;
};

class SetupAtStartTest : public StartDetectorTest,
                         public ::testing::WithParamInterface<SetupCase> {};

TEST_P(SetupAtStartTest, SetupComesBeforeTheMainWindowLoads) {
    const SetupCase& c = GetParam();
    if (c.pathEmpty)
        settings.setPath("");
    if (c.dumpMissing)
        std::filesystem::remove(dumpPath());
    view.setupAnswer = [&] {
        EXPECT_TRUE(window.console.empty()); // the main window has not loaded yet
        if (c.userCancels)
            return false;
        writeFile(dumpPath(), "");
        settings.setPath(dumpPath().generic_string());
        frm.SetDumpFileAbsPath(dumpPath().generic_string());
        return true;
    };
    EXPECT_EQ(detector.startUp(), c.started);
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "setup"), c.setupShown);
    EXPECT_EQ(detector.mainWindowLoaded(), c.started);
    EXPECT_EQ(detector.pollTimer().isEnabled(), c.started);
}

INSTANTIATE_TEST_SUITE_P(StartDetector, SetupAtStartTest,
                         ::testing::ValuesIn(std::vector<SetupCase>{
                             {"SetUp", false, false, false, false, true},
                             {"EmptyPath", true, false, false, true, true},
                             {"MissingDump", false, true, false, true, true},
                             {"CancelEndsBeforeLoading", true, false, true, true, false}}),
                         caseName);

struct HiddenStartCase {
    const char* name;
    bool startMin, startMinHH, tray, detectorVisible, mainVisible;
    const char* restoreCaption;
};

class HiddenStartTest : public StartDetectorTest,
                        public ::testing::WithParamInterface<HiddenStartCase> {};

TEST_P(HiddenStartTest, WindowsShownAtStart) {
    const HiddenStartCase& c = GetParam();
    settings.setStartMin(c.startMin);
    settings.setStartMinHH(c.startMinHH);
    view.tray = c.tray;
    ASSERT_TRUE(detector.startUp());
    EXPECT_EQ(view.detVisible, c.detectorVisible);
    EXPECT_EQ(view.mainVisible, c.mainVisible);
    EXPECT_EQ(view.startMinChecked, c.startMin);
    EXPECT_EQ(view.restoreCaption, c.restoreCaption);
    EXPECT_EQ(view.showHHCaption, c.mainVisible ? "&Hide Handlehound" : "");
    EXPECT_EQ(contains(window.console, "No system tray"), !c.tray);
}

INSTANTIATE_TEST_SUITE_P(
    StartDetector, HiddenStartTest,
    ::testing::ValuesIn(std::vector<HiddenStartCase>{
        {"Both", false, false, true, true, true, ""},
        {"OnlyTheTray", true, true, true, false, false, "&Show Q3 Start Detector"},
        {"DetectorHidden", true, false, true, false, true, "&Show Q3 Start Detector"},
        {"MainHidden", false, true, true, true, false, ""},
        // Without a tray the detector is the only way back: never hidden.
        {"NoTrayKeepsDetector", true, true, false, true, false, ""}}),
    caseName);

TEST_F(StartDetectorTest, EachStartAndStopOfTheGameSwitchesOnce) {
    startWithGameRunning(); // the first poll finds the game already running
    EXPECT_EQ(view.status, "Quake III Arena is currently: Running");
    EXPECT_TRUE(contains(hhCfg(), "ENABLED"));
    EXPECT_EQ(view.trayIcon,
              (fp.paths.program / "Icons" / "Handlehound_Enabled.ico").generic_string());
    EXPECT_TRUE(view.trayDisableEnabled);
    fp.clock.advance(7500);
    EXPECT_EQ(count("on.wav"), 1);

    fp.windows.windows.clear();
    fp.clock.advance(7500);
    EXPECT_FALSE(frm.state().monitoringOn);
    EXPECT_EQ(count("off.wav"), 1);
    EXPECT_EQ(view.trayIcon, (fp.paths.program / "Icons" / "Handlehound.ico").generic_string());
    EXPECT_TRUE(contains(hhCfg(), "DISABLED"));

    // Closed after the user switched off: not switched off a second time.
    gameUp();
    fp.clock.advance(2500);
    EXPECT_EQ(count("on.wav"), 2);
    detector.disableFromTray();
    EXPECT_EQ(count("off.wav"), 2);
    fp.windows.windows.clear();
    fp.clock.advance(2500);
    EXPECT_EQ(count("off.wav"), 2);
}

TEST_F(StartDetectorTest, MinimisedMainWindowHidesToTrayAndComesBackNormal) {
    ASSERT_TRUE(detector.startUp());
    view.setMainMinimized(true);
    EXPECT_FALSE(view.mainVisible);
    EXPECT_TRUE(view.showButtonEnabled);

    // Showing restores the normal state, whose resize handling re-enters the
    // toggle while the caption still says "show": shown twice, never hidden.
    view.log.clear();
    detector.onTrayPress(1);
    EXPECT_EQ(view.log, (std::vector<std::string>{"show main", "show main"}));
    EXPECT_TRUE(view.mainVisible);
    EXPECT_FALSE(view.mainMinimized);
    EXPECT_EQ(view.showHHCaption, "&Hide Handlehound");

    // It stays shown, and the next minimise hides it again.
    view.setMainMinimized(true);
    EXPECT_FALSE(view.mainVisible);
}

TEST_F(StartDetectorTest, TrayButtons) {
    ASSERT_TRUE(detector.startUp());
    detector.onTrayPress(2);
    EXPECT_EQ(view.menuPopups, 1);
    EXPECT_TRUE(view.mainVisible);
    detector.onTrayPress(1);
    EXPECT_FALSE(view.mainVisible);
    detector.onTrayPress(1);
    EXPECT_TRUE(view.mainVisible);
    // A double-click is a press followed by a double-click: two toggles.
    detector.onTrayPress(1);
    detector.onTrayDoubleClick(1);
    EXPECT_TRUE(view.mainVisible);
    EXPECT_EQ(view.detFronts, 5);
    EXPECT_EQ(view.menuPopups, 1);
}

TEST_F(StartDetectorTest, DetectorWindowToggle) {
    ASSERT_TRUE(detector.startUp());
    detector.toggleDetectorWindow(false);
    EXPECT_FALSE(view.detVisible);
    EXPECT_EQ(view.restoreCaption, "&Show Q3 Start Detector");
    EXPECT_TRUE(detector.detectorHidden());
    // Shown again; centred only when it sits in the screen's corner.
    view.top = 200;
    view.left = 150;
    detector.toggleDetectorWindow(true);
    EXPECT_TRUE(view.detVisible);
    EXPECT_EQ(view.restoreCaption, "&Hide Q3 Start Detector");
    EXPECT_EQ(view.centred, 0);
    view.top = 199;
    detector.toggleDetectorWindow(true);
    EXPECT_EQ(view.centred, 1);
}

struct BrowseCase {
    const char* name;
    std::vector<std::string> answers; // relative to the temp folder; "-" = cancel
    std::size_t errors;
    const char* stored; // "" = nothing stored
};

class BrowseTest : public StartDetectorTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(BrowseTest, AcceptsConfigsInGameFoldersOnly) {
    const BrowseCase& c = GetParam();
    for (const char* f : {"game/baseq3/b.cfg", "elsewhere/c.cfg", "game/arena/e.cfg"})
        writeFile(fp.temp / f, "exec x\n");
    ASSERT_TRUE(detector.startUp());
    for (const auto& a : c.answers)
        fp.dialogs.fileAnswers.push_back(a == "-" ? std::nullopt
                                                  : std::optional((fp.temp / a).generic_string()));
    detector.browseConfigToExec();

    ASSERT_FALSE(fp.dialogs.fileDialogs.empty()); // opens in the base folder
    EXPECT_TRUE(fp.dialogs.fileDialogs[0].ends_with("|" + (gameDir() / "baseq3").generic_string()));
    EXPECT_EQ(fp.dialogs.messages.size(), c.errors);
    const std::string stored = *c.stored ? (fp.temp / c.stored).generic_string() : "";
    EXPECT_EQ(settings.configPath(), stored);
    EXPECT_EQ(view.configToExec, stored);
}

INSTANTIATE_TEST_SUITE_P(
    StartDetector, BrowseTest,
    ::testing::ValuesIn(std::vector<BrowseCase>{
        {"BaseFolder", {"game/baseq3/b.cfg"}, 0, "game/baseq3/b.cfg"},
        {"Cancelled", {"-"}, 0, ""},
        {"ElsewhereThenAccepted", {"elsewhere/c.cfg", "game/arena/e.cfg"}, 1, "game/arena/e.cfg"},
        {"MissingFileThenCancel", {"game/osp/none.cfg", "-"}, 1, ""}}),
    caseName);

// The Exit button and the typed "quit" command end the same way: monitoring
// off once, the script saying so, everything unloaded in order.
class EndTest : public StartDetectorTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EndTest, SwitchesOffOnceThenUnloadsEverything) {
    startWithGameRunning();
    view.log.clear();
    if (GetParam())
        frm.quitProgram();
    else
        detector.exitProgram();
    detector.exitProgram(); // a click while ending does nothing more
    EXPECT_FALSE(frm.state().monitoringOn);
    EXPECT_EQ(hhCfg(), renderResultScript("Handlehound is Not Running."));
    EXPECT_FALSE(fp.hotKey.isRegistered());
    EXPECT_FALSE(detector.pollTimer().isEnabled());
    // Monitoring off, then the program's goodbye.
    EXPECT_EQ(count("off.wav"), 2);
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"save placement", "hide main", "tray off", "quit 0"}));
    EXPECT_TRUE(contains(consoleLog(), "Waiting for Quake III Arena to Start"));
}

INSTANTIATE_TEST_SUITE_P(StartDetector, EndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Quit" : "Exit"; });

TEST_F(StartDetectorTest, FileHideUnloadsTheWindowButMonitoringGoesOn) {
    startWithGameRunning();
    ASSERT_TRUE(frm.modifiedCheckTimer().isEnabled());
    detector.unloadMainWindow();
    EXPECT_TRUE(window.console.empty());
    EXPECT_TRUE(frm.modifiedCheckTimer().isEnabled());
    EXPECT_EQ(view.showHHCaption, "&Show Handlehound");

    // The next use loads it anew: its start-up runs again.
    detector.onTrayPress(1);
    EXPECT_TRUE(view.mainVisible);
    EXPECT_TRUE(contains(window.console, "> Waiting for Quake III Arena to Start. . ."));
    EXPECT_TRUE(frm.state().monitoringOn);
}

} // namespace
} // namespace hh::test
