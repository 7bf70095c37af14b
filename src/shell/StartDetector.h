#pragma once
// frmStartDetect: the program's first window and its owner. Puts up the tray
// icon, loads the main window, polls for the game window and switches
// monitoring with it, and ends the program.
#include "shell/GameWindowPoller.h"

#include <memory>
#include <string>

namespace hh {

struct Platform;
class DetectorView;
class FrmMain;
class MainView;
class Settings;
class Timer;

inline constexpr const char* kShowHHCaption = "&Show Handlehound";
inline constexpr const char* kHideHHCaption = "&Hide Handlehound";
inline constexpr const char* kShowDetectorCaption = "&Show Q3 Start Detector";
inline constexpr const char* kHideDetectorCaption = "&Hide Q3 Start Detector";
inline constexpr const char* kGameRunningText = "Quake III Arena is currently: Running";
inline constexpr const char* kGameClosedText = "Quake III Arena is currently: Closed";

std::string detectorInfoText();

class StartDetector {
  public:
    StartDetector(FrmMain& frm, MainView& mainView, Platform& platform, Settings& settings,
                  DetectorView& view);
    ~StartDetector();

    // The detector's load, after the single-instance check. False when the
    // user cancelled the setup dialog: the program ends without more steps.
    bool startUp();

    // Another start of the program asked this one to come to the front.
    void activateFromAnotherStart();

    // Polling (tmrProgCheck).
    void pollTick() { poller_.tick(); }
    bool gameRunning() const { return poller_.gameRunning(); }
    Timer& pollTimer() { return *pollTimer_; }

    // Main window visibility. Also the main window's resize handling.
    void toggleShowHH();
    void onMainWindowResize(bool minimized);
    bool mainWindowShown() const { return showHHCaption_ == kHideHHCaption; }
    // File > Hide: the main window is unloaded; its next use loads it anew.
    void unloadMainWindow();
    bool mainWindowLoaded() const { return mainLoaded_; }

    // Detector window: cmdMinimize "Hide", mnuRestore, and its resize.
    void toggleDetectorWindow(bool fromTrayMenu);
    void onDetectorResize(bool minimized);
    bool detectorHidden() const { return detectorHidden_; }

    // Tray icon and menu.
    void showEnabledIcon();
    void showDisabledIcon();
    void onTrayPress(int button);
    void onTrayDoubleClick(int button);
    void enableFromTray();
    void disableFromTray();
    // Mod items of either menu: nothing happens when the mod is already checked.
    void chooseMod(const std::string& mod);
    void setStartMin(bool checked);
    void browseConfigToExec();

    // mnuExit, cmdExit: monitoring off, then every window unloads.
    void exitProgram();
    // The "quit" command has switched monitoring off already.
    void endProgram(int status);
    bool ending() const { return ending_; }

  private:
    void loadMainWindow();
    void detectorQueryUnload();
    void unloadEverything(int status);
    std::string soundPath(const std::string& name) const;
    void setShowHHCaption(const char* caption);

    FrmMain& frm_;
    MainView& mainView_;
    Platform& platform_;
    Settings& settings_;
    DetectorView& view_;
    std::unique_ptr<Timer> pollTimer_;
    GameWindowPoller poller_;
    std::string showHHCaption_ = kShowHHCaption;
    bool detectorHidden_ = false;
    bool mainMinimized_ = false;
    bool mainLoaded_ = false;
    bool ending_ = false;
};

} // namespace hh
