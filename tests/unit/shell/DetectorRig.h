#pragma once
// A start detector over the fake platform, with a recording detector view
// that reports minimise/restore back as a window system does.
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "shell/DesktopMainView.h"
#include "shell/DetectorView.h"
#include "shell/FrmMain.h"
#include "shell/ProgramHost.h"
#include "shell/StartDetector.h"

#include <functional>
#include <string>
#include <vector>

namespace hh::test {

class FakeDetectorView : public DetectorView {
  public:
    void setGameStatus(const std::string& t) override { status = t; }
    void setInfoText(const std::string& t) override { info = t; }
    void setConfigToExec(const std::string& p) override { configToExec = p; }
    void setStartMinChecked(bool c) override { startMinChecked = c; }
    void setMainShownButtons(bool shown) override { showButtonEnabled = !shown; }
    bool trayAvailable() const override { return tray; }
    void setTrayVisible(bool v) override {
        trayVisible = v;
        log.push_back(v ? "tray on" : "tray off");
    }
    void setTrayToolTip(const std::string& t) override { trayTip = t; }
    void setTrayIcon(const std::string& p) override { trayIcon = p; }
    void setShowHHCaption(const std::string& c) override { showHHCaption = c; }
    void setRestoreCaption(const std::string& c) override { restoreCaption = c; }
    void setTrayMonitoringItems(bool on) override { trayDisableEnabled = on; }
    void setTrayCheckedMod(const std::string& m) override { trayCheckedMod = m; }
    void popUpTrayMenu() override { ++menuPopups; }
    bool detectorMinimized() const override { return detMinimized; }
    void minimizeDetector() override {
        if (!detMinimized) {
            detMinimized = true;
            detector->onDetectorResize(true);
        }
    }
    void restoreDetector() override {
        if (detMinimized) {
            detMinimized = false;
            detector->onDetectorResize(false);
        }
    }
    void setDetectorVisible(bool v) override { detVisible = v; }
    void bringDetectorToFront() override { ++detFronts; }
    int detectorLeftTwips() const override { return left; }
    int detectorTopTwips() const override { return top; }
    void centreDetector() override { ++centred; }
    void showMainWindow() override {
        log.push_back("show main");
        mainVisible = true;
        if (mainMinimized) {
            mainMinimized = false;
            detector->onMainWindowResize(false);
        }
    }
    void hideMainWindow() override {
        log.push_back("hide main");
        mainVisible = false;
    }
    // The user minimises the main window from its title bar.
    void userMinimizesMain() {
        mainMinimized = true;
        detector->onMainWindowResize(true);
    }
    void restoreMainWindowPlacement() override { log.push_back("restore placement"); }
    void saveMainWindowPlacement() override { log.push_back("save placement"); }
    bool runSetupDialog() override {
        log.push_back("setup");
        return setupAnswer ? setupAnswer() : false;
    }
    void quitProgram(int s) override {
        log.push_back("quit " + std::to_string(s));
        quitStatus = s;
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
    void showDeveloperControls(bool on) override { developer = on; }
    StartDetector* detector = nullptr;
    bool developer = false;
};

// A game folder <temp>/game with baseq3 and osp (dump present), the settings
// pointing at it, and the whole desktop logic built over the fakes.
struct DetectorRig {
    DetectorRig()
        : settings(fp.temp / "handleHound.ini"), mainView(window, view, fp.paths.program),
          frm(fp.platform, mainView, settings, host),
          detector(frm, mainView, fp.platform, settings, view) {
        view.detector = &detector;
        host.detector = &detector;
        writeFile(dumpPath(), "");
        writeFile(gameDir() / "baseq3" / "autoexec.cfg", "");
        settings.setPath(dumpPath().string());
        settings.setNewUserSeen();
    }
    std::filesystem::path gameDir() const { return fp.temp / "game"; }
    std::filesystem::path dumpPath() const { return gameDir() / "osp" / "handleHound.who"; }
    std::string hhCfg() const { return readFile(gameDir() / "baseq3" / "hh.cfg"); }
    void gameUp() { fp.windows.windows[settings.gameWindowTitle()] = 77; }
    void gameDown() { fp.windows.windows.clear(); }
    int count(const std::string& sound) const {
        int n = 0;
        for (const auto& s : fp.sound.names())
            n += s == sound;
        return n;
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

} // namespace hh::test
