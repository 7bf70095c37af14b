#include "DetectorRig.h"
#include "gamelink/ResultScript.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace hh::test {
namespace {

using ::testing::Test;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t indexOf(const std::vector<std::string>& log, const std::string& entry) {
    return std::size_t(std::find(log.begin(), log.end(), entry) - log.begin());
}

class StartDetectorTest : public Test, public DetectorRig {
  protected:
    // The game's window is up at start; the first poll switches monitoring on.
    void startWithGameRunning() {
        gameUp();
        ASSERT_TRUE(detector.startUp());
        fp.clock.advance(100);
        ASSERT_TRUE(frm.state().monitoringOn);
    }
};

// Parameterised cases are named by their `name` field.
constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

TEST_F(StartDetectorTest, StartUpShowsEverythingAndLeavesMonitoringUndecided) {
    settings.setConfigPath("/games/q3/osp/match.cfg");
    ASSERT_TRUE(detector.startUp());
    EXPECT_EQ(view.configToExec, "/games/q3/osp/match.cfg");
    EXPECT_TRUE(view.trayVisible);
    EXPECT_EQ(view.trayTip, "Handlehound v1.0.0");
    EXPECT_EQ(view.status, "Quake III Arena is currently: Closed");
    EXPECT_TRUE(contains(view.info, "     This is the Q3 Start Detector Program."));
    EXPECT_TRUE(view.detVisible);
    EXPECT_TRUE(view.mainVisible);
    EXPECT_EQ(view.showHHCaption, "&Hide Handlehound");
    EXPECT_FALSE(view.showButtonEnabled);
    EXPECT_TRUE(contains(window.console, "> Waiting for Quake III Arena to Start. . ."));
    EXPECT_EQ(fp.sound.names(), std::vector<std::string>{"complete.wav"});
    EXPECT_TRUE(fp.hotKey.isRegistered());
    EXPECT_EQ(view.log, (std::vector<std::string>{"tray on", "restore placement", "show main"}));
    EXPECT_FALSE(fp.dialogs.messages.size());
    // Neither on nor off until the first poll.
    EXPECT_FALSE(frm.state().monitoringOn);
    EXPECT_FALSE(frm.modifiedCheckTimer().isEnabled());
    EXPECT_EQ(detector.pollTimer().interval(), 100);
    EXPECT_TRUE(detector.pollTimer().isEnabled());
}

struct SetupCase {
    const char* name;
    bool pathEmpty;
    bool dumpMissing;
    bool userCancels;
    bool setupShown;
    bool started;
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
        settings.setPath(dumpPath().string());
        frm.SetDumpFileAbsPath(dumpPath().string());
        return true;
    };
    EXPECT_EQ(detector.startUp(), c.started);
    EXPECT_EQ(indexOf(view.log, "setup") < view.log.size(), c.setupShown);
    EXPECT_EQ(detector.mainWindowLoaded(), c.started);
    EXPECT_EQ(detector.pollTimer().isEnabled(), c.started);
    EXPECT_EQ(fp.hotKey.isRegistered(), c.started);
    if (c.started && c.setupShown) {
        EXPECT_EQ(frm.GetCurrentMod(), "osp");
    }
}

INSTANTIATE_TEST_SUITE_P(StartDetector, SetupAtStartTest,
                         ::testing::Values(SetupCase{"SetUp", false, false, false, false, true},
                                           SetupCase{"EmptyPath", true, false, false, true, true},
                                           SetupCase{"MissingDump", false, true, false, true, true},
                                           SetupCase{"CancelEndsBeforeLoading", true, false, true,
                                                     true, false}),
                         caseName);

struct HiddenStartCase {
    const char* name;
    bool startMin, startMinHH, tray;
    bool detectorVisible, mainVisible;
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
    ::testing::Values(HiddenStartCase{"Both", false, false, true, true, true, ""},
                      HiddenStartCase{"OnlyTheTray", true, true, true, false, false,
                                      "&Show Q3 Start Detector"},
                      HiddenStartCase{"DetectorHidden", true, false, true, false, true,
                                      "&Show Q3 Start Detector"},
                      HiddenStartCase{"MainHidden", false, true, true, true, false, ""},
                      // Without a tray the detector is the only way back: never hidden.
                      HiddenStartCase{"NoTrayKeepsDetector", true, true, false, true, false, ""}),
    caseName);

TEST_F(StartDetectorTest, GameAlreadyRunningIsFoundByTheFirstPoll) {
    gameUp();
    ASSERT_TRUE(detector.startUp());
    fp.clock.advance(99);
    EXPECT_FALSE(frm.state().monitoringOn);
    fp.clock.advance(1);
    EXPECT_TRUE(frm.state().monitoringOn);
    EXPECT_EQ(view.status, "Quake III Arena is currently: Running");
    EXPECT_EQ(detector.pollTimer().interval(), 2500);
    EXPECT_TRUE(contains(hhCfg(), "ENABLED"));
    EXPECT_EQ(view.trayIcon, (fp.paths.program / "Icons" / "Handlehound_Enabled.ico").string());
    EXPECT_TRUE(view.trayDisableEnabled);
    EXPECT_TRUE(window.monitoringControlsOn);
}

TEST_F(StartDetectorTest, EachStartAndStopOfTheGameSwitchesOnce) {
    ASSERT_TRUE(detector.startUp());
    fp.clock.advance(100);
    gameUp();
    fp.clock.advance(2500);
    fp.clock.advance(5000);
    EXPECT_EQ(count("on.wav"), 1);
    gameDown();
    fp.clock.advance(2500);
    fp.clock.advance(5000);
    EXPECT_FALSE(frm.state().monitoringOn);
    EXPECT_EQ(count("off.wav"), 1);
    EXPECT_EQ(view.status, "Quake III Arena is currently: Closed");
    EXPECT_EQ(view.trayIcon, (fp.paths.program / "Icons" / "Handlehound.ico").string());
    EXPECT_FALSE(view.trayDisableEnabled);
    EXPECT_TRUE(contains(hhCfg(), "DISABLED"));
}

TEST_F(StartDetectorTest, GameClosedAfterTheUserSwitchedOffIsNotSwitchedOffAgain) {
    startWithGameRunning();
    detector.disableFromTray();
    ASSERT_EQ(count("off.wav"), 1);
    gameDown();
    fp.clock.advance(2500);
    EXPECT_EQ(count("off.wav"), 1);
    EXPECT_EQ(view.status, "Quake III Arena is currently: Closed");
}

TEST_F(StartDetectorTest, TheWindowLookedForIsTheConfiguredTitle) {
    settings.setGameWindowTitle("ioquake3");
    fp.windows.windows["Quake 3: Arena"] = 5;
    ASSERT_TRUE(detector.startUp());
    fp.clock.advance(100);
    EXPECT_FALSE(frm.state().monitoringOn);
    fp.windows.windows["ioquake3"] = 6;
    fp.clock.advance(2500);
    EXPECT_TRUE(frm.state().monitoringOn);
    EXPECT_EQ(view.status, "Quake III Arena is currently: Running");
}

TEST_F(StartDetectorTest, MinimisedMainWindowHidesToTrayAndComesBackNormal) {
    ASSERT_TRUE(detector.startUp());
    view.log.clear();
    view.userMinimizesMain();
    EXPECT_FALSE(view.mainVisible);
    EXPECT_EQ(view.showHHCaption, "&Show Handlehound");
    EXPECT_TRUE(view.showButtonEnabled);

    // Showing restores the normal state, whose resize handling re-enters the
    // toggle while the caption still says "show": shown twice, never hidden.
    view.log.clear();
    detector.onTrayPress(1);
    EXPECT_EQ(view.log, (std::vector<std::string>{"show main", "show main"}));
    EXPECT_TRUE(view.mainVisible);
    EXPECT_FALSE(view.mainMinimized);
    EXPECT_EQ(view.showHHCaption, "&Hide Handlehound");
    EXPECT_FALSE(view.showButtonEnabled);

    // It stays shown, and the next minimise hides it again.
    view.userMinimizesMain();
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
    EXPECT_TRUE(view.detMinimized);
    EXPECT_FALSE(view.detVisible);
    EXPECT_EQ(view.restoreCaption, "&Show Q3 Start Detector");
    EXPECT_TRUE(detector.detectorHidden());

    detector.toggleDetectorWindow(true);
    EXPECT_FALSE(view.detMinimized);
    EXPECT_TRUE(view.detVisible);
    EXPECT_EQ(view.restoreCaption, "&Hide Q3 Start Detector");
    EXPECT_EQ(view.centred, 0); // far from the corner

    view.left = 150;
    view.top = 199;
    detector.toggleDetectorWindow(true);
    EXPECT_EQ(view.centred, 1);
    view.top = 200;
    detector.toggleDetectorWindow(true);
    EXPECT_EQ(view.centred, 1);
}

TEST_F(StartDetectorTest, WithoutATrayTheDetectorIsOnlyMinimised) {
    view.tray = false;
    ASSERT_TRUE(detector.startUp());
    detector.toggleDetectorWindow(false);
    EXPECT_TRUE(view.detMinimized);
    EXPECT_TRUE(view.detVisible);
}

TEST_F(StartDetectorTest, ModItemsSwitchOnlyToAnotherMod) {
    writeFile(gameDir() / "arena" / "x.pk3", "x");
    ASSERT_TRUE(detector.startUp());
    ASSERT_EQ(view.trayCheckedMod, "osp");
    const std::string consoleBefore = window.console;
    detector.chooseMod("osp");
    EXPECT_EQ(window.console, consoleBefore);
    EXPECT_EQ(settings.path(), dumpPath().string());

    detector.chooseMod("arena");
    EXPECT_EQ(frm.GetCurrentMod(), "arena");
    EXPECT_EQ(view.trayCheckedMod, "arena");
    EXPECT_EQ(window.checkedMod, "arena");
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
    for (const char* f : {"game/osp/a.cfg", "game/baseq3/b.cfg", "elsewhere/c.cfg",
                          "game/q3ut2/d.cfg", "game/arena/e.cfg"})
        writeFile(fp.temp / f, "exec x\n");
    ASSERT_TRUE(detector.startUp());
    for (const auto& a : c.answers)
        fp.dialogs.fileAnswers.push_back(a == "-" ? std::nullopt
                                                  : std::optional((fp.temp / a).string()));
    detector.browseConfigToExec();

    ASSERT_FALSE(fp.dialogs.fileDialogs.empty());
    EXPECT_EQ(fp.dialogs.fileDialogs[0], "Path to Config to Exec on Q3 Start|Config files "
                                         "(*.cfg);;All files (*)|" +
                                             (gameDir() / "baseq3").string());
    EXPECT_EQ(fp.dialogs.messages.size(), c.errors);
    for (const auto& m : fp.dialogs.messages)
        EXPECT_EQ(m, "Error!  Config file must be in either the '\\baseq3', '\\arena', '\\osp', "
                     "'q3ut2', or 'threewave' folder.");
    const std::string stored = *c.stored ? (fp.temp / c.stored).string() : "";
    EXPECT_EQ(settings.configPath(), stored);
    EXPECT_EQ(view.configToExec, stored);
}

INSTANTIATE_TEST_SUITE_P(
    StartDetector, BrowseTest,
    ::testing::Values(BrowseCase{"ModFolder", {"game/osp/a.cfg"}, 0, "game/osp/a.cfg"},
                      BrowseCase{"BaseFolder", {"game/baseq3/b.cfg"}, 0, "game/baseq3/b.cfg"},
                      BrowseCase{"Cancelled", {"-"}, 0, ""},
                      BrowseCase{"ElsewhereThenAccepted",
                                 {"elsewhere/c.cfg", "game/arena/e.cfg"},
                                 1,
                                 "game/arena/e.cfg"},
                      BrowseCase{"MissingFileThenCancel", {"game/osp/none.cfg", "-"}, 1, ""},
                      BrowseCase{"TwiceWrong", {"elsewhere/c.cfg", "elsewhere/c.cfg", "-"}, 2, ""}),
    caseName);

TEST_F(StartDetectorTest, ExitSwitchesOffThenUnloadsEverything) {
    startWithGameRunning();
    view.log.clear();
    detector.exitProgram();

    EXPECT_FALSE(frm.state().monitoringOn);
    EXPECT_EQ(hhCfg(), renderResultScript("Handlehound is Not Running."));
    EXPECT_FALSE(view.trayVisible);
    EXPECT_FALSE(fp.hotKey.isRegistered());
    EXPECT_FALSE(detector.pollTimer().isEnabled());
    EXPECT_FALSE(frm.modifiedCheckTimer().isEnabled());
    const auto sounds = fp.sound.names();
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[sounds.size() - 2], "off.wav"); // monitoring off
    EXPECT_EQ(sounds.back(), "off.wav");             // the program
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"save placement", "hide main", "tray off", "quit 0"}));
    EXPECT_TRUE(contains(readFile(fp.paths.program / "log" / "console.log"),
                         "Waiting for Quake III Arena to Start"));
    // A second Exit (a click while ending) does nothing more.
    detector.exitProgram();
    EXPECT_EQ(view.log.back(), "quit 0");
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "quit 0"), 1);
}

TEST_F(StartDetectorTest, QuitCommandEndsWithoutSwitchingOffTwice) {
    startWithGameRunning();
    frm.quitProgram();
    EXPECT_EQ(count("off.wav"), 2); // disableHH, then the program's goodbye
    EXPECT_EQ(view.quitStatus, 0);
    EXPECT_EQ(hhCfg(), renderResultScript("Handlehound is Not Running."));
}

TEST_F(StartDetectorTest, FileHideUnloadsTheWindowButMonitoringGoesOn) {
    startWithGameRunning();
    ASSERT_TRUE(frm.modifiedCheckTimer().isEnabled());
    detector.unloadMainWindow();
    EXPECT_FALSE(view.mainVisible);
    EXPECT_TRUE(window.console.empty());
    EXPECT_TRUE(contains(readFile(fp.paths.program / "log" / "console.log"), "ENABLED"));
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
