#pragma once
// What the start detector's logic needs of its window, its tray icon and the
// main window's frame. The desktop implements it with Qt widgets; tests with
// a recording fake.
#include <string>

namespace hh {

class DetectorView {
  public:
    virtual ~DetectorView() = default;

    // Detector window controls.
    virtual void setGameStatus(const std::string& text) = 0; // lblStatus
    virtual void setInfoText(const std::string& text) = 0;   // lblInfo
    virtual void setConfigToExec(const std::string& path) = 0;
    virtual void setStartMinChecked(bool checked) = 0;
    // "&Show Handlehound" is enabled exactly while the main window is hidden,
    // "&Hide Handlehound" exactly while it is shown.
    virtual void setMainShownButtons(bool mainShown) = 0;

    // Tray icon and its menu "HH Menu".
    virtual bool trayAvailable() const = 0;
    virtual void setTrayVisible(bool visible) = 0;
    virtual void setTrayToolTip(const std::string& text) = 0;
    virtual void setTrayIcon(const std::string& imagePath) = 0;
    virtual void setShowHHCaption(const std::string& caption) = 0;  // mnuShowHH
    virtual void setRestoreCaption(const std::string& caption) = 0; // mnuRestore
    // Enable item enabled exactly while monitoring is off, Disable while on.
    virtual void setTrayMonitoringItems(bool monitoringOn) = 0;
    virtual void setTrayCheckedMod(const std::string& mod) = 0;
    virtual void popUpTrayMenu() = 0;

    // Detector window frame. Minimising and restoring report back through
    // StartDetector::onDetectorResize, as a window manager would.
    virtual bool detectorMinimized() const = 0;
    virtual void minimizeDetector() = 0;
    virtual void restoreDetector() = 0;
    virtual void setDetectorVisible(bool visible) = 0;
    virtual void bringDetectorToFront() = 0;
    virtual int detectorLeftTwips() const = 0;
    virtual int detectorTopTwips() const = 0;
    virtual void centreDetector() = 0;

    // Main window frame. showMainWindow shows it and sets it to the normal
    // state, which may report back through StartDetector::onMainWindowResize
    // before it returns.
    virtual void showMainWindow() = 0;
    virtual void hideMainWindow() = 0;
    // The saved position (per-user store) applied at load, stored at unload.
    virtual void restoreMainWindowPlacement() = 0;
    virtual void saveMainWindowPlacement() = 0;

    // Modal setup dialog; false when the user cancelled it.
    virtual bool runSetupDialog() = 0;
    // Leaves the event loop with an exit status.
    virtual void quitProgram(int status) = 0;
};

} // namespace hh
