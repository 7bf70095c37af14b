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
    void setGameStatus(const std::string&) override {}
    void setInfoText(const std::string&) override {}
    void setConfigToExec(const std::string&) override {}
    void setStartMinChecked(bool c) override { startMinChecked = c; }
    void setMainShownButtons(bool) override {}
    bool trayAvailable() const override { return tray; }
    void setTrayVisible(bool v) override { log.push_back(v ? "tray on" : "tray off"); }
    void setTrayToolTip(const std::string&) override {}
    void setTrayIcon(const std::string& p) override { trayIcon = p; }
    void setShowHHCaption(const std::string&) override {}
    void setRestoreCaption(const std::string&) override {}
    void setTrayMonitoringItems(bool) override {}
    void setTrayCheckedMod(const std::string&) override {}
    void popUpTrayMenu() override { ++menuPopups; }
    bool detectorMinimized() const override { return detMinimized; }
    void minimizeDetector() override { setDetectorMinimized(true); }
    void restoreDetector() override { setDetectorMinimized(false); }
    void setDetectorVisible(bool v) override { detVisible = v; }
    void bringDetectorToFront() override {}
    int detectorLeftTwips() const override { return 3000; }
    int detectorTopTwips() const override { return 3000; }
    void centreDetector() override {}
    void showMainWindow() override {
        log.push_back("show main");
        mainVisible = true;
        setMainMinimized(false);
    }
    void hideMainWindow() override {
        log.push_back("hide main");
        mainVisible = false;
    }
    void restoreMainWindowPlacement() override {}
    void saveMainWindowPlacement() override { log.push_back("save placement"); }
    bool runSetupDialog() override {
        log.push_back("setup");
        return setupAnswer && setupAnswer();
    }
    void quitProgram(int s) override { log.push_back("quit " + std::to_string(s)); }

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
    std::string trayIcon;
    bool tray = true, startMinChecked = false, detMinimized = false, detVisible = false,
         mainVisible = false, mainMinimized = false;
    int menuPopups = 0;
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
    void gameUp() { fp.windows.windows[settings.gameWindowTitle()] = 77; }
    long count(const std::string& sound) const {
        const auto names = fp.sound.names();
        return std::count(names.begin(), names.end(), sound);
    }
    // The game's window is up at start; the first poll switches monitoring on.
    void startWithGameRunning() {
        gameUp();
        ASSERT_TRUE(detector.startUp());
        EXPECT_FALSE(frm.state().monitoringOn); // neither on nor off until the first poll
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
    EXPECT_EQ(fp.hotKey.isRegistered(), c.started);
}

INSTANTIATE_TEST_SUITE_P(StartDetector, SetupAtStartTest,
                         ::testing::ValuesIn(std::vector<SetupCase>{
                             {"EmptyPath", true, false, false, true, true},
                             {"MissingDump", false, true, false, true, true},
                             {"CancelEndsBeforeLoading", true, false, true, true, false}}),
                         caseName);

struct HiddenStartCase {
    const char* name;
    bool startMin, startMinHH, tray, detectorVisible, mainVisible;
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
    EXPECT_EQ(contains(window.console, "No system tray"), !c.tray);
}

INSTANTIATE_TEST_SUITE_P(StartDetector, HiddenStartTest,
                         ::testing::ValuesIn(std::vector<HiddenStartCase>{
                             {"Both", false, false, true, true, true},
                             {"OnlyTheTray", true, true, true, false, false},
                             // Without a tray the detector is the only way back: never hidden.
                             {"NoTrayKeepsDetector", true, true, false, true, false}}),
                         caseName);

TEST_F(StartDetectorTest, EachStartAndStopOfTheGameSwitchesOnce) {
    startWithGameRunning();
    EXPECT_TRUE(contains(hhCfg(), "ENABLED"));
    EXPECT_EQ(view.trayIcon, trayIconPath(fp.paths.program, true));
    fp.clock.advance(7500);
    EXPECT_EQ(count("on.wav"), 1);

    fp.windows.windows.clear();
    fp.clock.advance(7500);
    EXPECT_FALSE(frm.state().monitoringOn);
    EXPECT_EQ(count("off.wav"), 1);
    EXPECT_EQ(view.trayIcon, trayIconPath(fp.paths.program, false));
    EXPECT_TRUE(contains(hhCfg(), "DISABLED"));

    // Closed after the user switched off: not switched off a second time.
    gameUp();
    fp.clock.advance(2500);
    detector.disableFromTray();
    fp.windows.windows.clear();
    fp.clock.advance(2500);
    EXPECT_EQ(count("on.wav") + count("off.wav"), 4);
}

TEST_F(StartDetectorTest, TrayButtonsAndTheDetectorWindow) {
    ASSERT_TRUE(detector.startUp());
    detector.onTrayPress(2);
    EXPECT_EQ(view.menuPopups, 1);
    EXPECT_TRUE(view.mainVisible);
    detector.onTrayPress(1);
    EXPECT_FALSE(view.mainVisible);
    // A double-click is a press followed by a double-click: two toggles.
    detector.onTrayPress(1);
    detector.onTrayDoubleClick(1);
    EXPECT_FALSE(view.mainVisible);
    EXPECT_EQ(view.menuPopups, 1);

    // Minimised, the main window hides to the tray. Showing it restores the
    // normal state, whose resize handling re-enters the toggle while the
    // caption still says "show": shown twice, never hidden.
    detector.onTrayPress(1);
    view.setMainMinimized(true);
    EXPECT_FALSE(view.mainVisible);
    view.log.clear();
    detector.onTrayPress(1);
    EXPECT_EQ(view.log, (std::vector<std::string>{"show main", "show main"}));
    EXPECT_TRUE(view.mainVisible);

    // With a tray at hand the detector hides to it.
    detector.toggleDetectorWindow(false);
    EXPECT_FALSE(view.detVisible);
    detector.toggleDetectorWindow(true);
    EXPECT_TRUE(view.detVisible);
}

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
    EXPECT_EQ(hhCfg(), renderResultScript("Handlehound is Not Running."));
    EXPECT_FALSE(fp.hotKey.isRegistered());
    EXPECT_FALSE(detector.pollTimer().isEnabled());
    // Monitoring off, then the program's goodbye.
    EXPECT_EQ(count("off.wav"), 2);
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"save placement", "hide main", "tray off", "quit 0"}));
    EXPECT_TRUE(contains(readFile(fp.paths.program / "log" / "console.log"), "Waiting for"));
}

INSTANTIATE_TEST_SUITE_P(StartDetector, EndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Quit" : "Exit"; });

TEST_F(StartDetectorTest, FileHideUnloadsTheWindowButMonitoringGoesOn) {
    startWithGameRunning();
    detector.unloadMainWindow();
    EXPECT_TRUE(window.console.empty());
    EXPECT_TRUE(frm.modifiedCheckTimer().isEnabled());

    // The next use loads it anew: its start-up runs again.
    detector.onTrayPress(1);
    EXPECT_TRUE(view.mainVisible);
    EXPECT_TRUE(contains(window.console, "> Waiting for Quake III Arena to Start. . ."));
    EXPECT_TRUE(frm.state().monitoringOn);
}

} // namespace
} // namespace hh::test
