#pragma once
// frmStartDetect on Windows: the "Handlehound: Q3 Start Detector" window, the
// tray icon (Shell_NotifyIconW) with its menu "HH Menu", and the main
// window's frame as the detector moves it.
#include "shell/DetectorView.h"
#include "shell/win32/DialogWindow.h"

#include <functional>
#include <shellapi.h>

namespace hh {
class StartDetector;
}

namespace hh::win32 {

// Registered message a later start of the program posts to bring this one
// to the front.
inline constexpr const wchar_t* kShowRunningMessage = L"Handlehound.ShowRunning";

class MainWindow;

class DetectorWindow : public DialogWindow, public DetectorView {
  public:
    explicit DetectorWindow(MainWindow& mainWindow);
    ~DetectorWindow() override;

    // Creates the window, hidden.
    bool create();
    void attach(StartDetector& detector) { detector_ = &detector; }
    // Shows the setup dialog; false when it was cancelled.
    void setSetupRunner(std::function<bool()> runSetup) { runSetup_ = std::move(runSetup); }
    // Leaves the program's event loop.
    void setQuit(std::function<void(int)> quit) { quit_ = std::move(quit); }
    HMENU trayMenu() const { return trayMenu_; }

    // DetectorView
    void setGameStatus(const std::string& text) override;
    void setInfoText(const std::string& text) override;
    void setConfigToExec(const std::string& path) override;
    void setStartMinChecked(bool checked) override;
    void setMainShownButtons(bool mainShown) override;
    bool trayAvailable() const override;
    void setTrayVisible(bool visible) override;
    void setTrayToolTip(const std::string& text) override;
    void setTrayIcon(const std::string& imagePath) override;
    void setShowHHCaption(const std::string& caption) override;
    void setRestoreCaption(const std::string& caption) override;
    void setTrayMonitoringItems(bool monitoringOn) override;
    void setTrayCheckedMod(const std::string& mod) override;
    void popUpTrayMenu() override;
    bool detectorMinimized() const override { return IsIconic(window_); }
    void minimizeDetector() override { ShowWindow(window_, SW_MINIMIZE); }
    void restoreDetector() override { ShowWindow(window_, SW_RESTORE); }
    void setDetectorVisible(bool visible) override;
    void bringDetectorToFront() override;
    int detectorLeftTwips() const override;
    int detectorTopTwips() const override;
    void centreDetector() override;
    void showMainWindow() override;
    void hideMainWindow() override;
    void restoreMainWindowPlacement() override;
    void saveMainWindowPlacement() override;
    bool runSetupDialog() override { return runSetup_ && runSetup_(); }
    void quitProgram(int status) override;

  protected:
    void build() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void buildTrayMenu();
    bool trayCommand(int id);
    void onTrayMessage(LPARAM mouse);
    bool notify(DWORD action);

    MainWindow& mainWindow_;
    StartDetector* detector_ = nullptr;
    std::function<bool()> runSetup_;
    std::function<void(int)> quit_;
    bool lastMinimized_ = false;

    HMENU trayMenu_ = nullptr;
    NOTIFYICONDATAW tray_{};
    bool trayShown_ = false;
    bool trayAccepted_ = false; // the shell took the icon
    UINT taskbarCreated_ = 0;
    UINT showRunning_ = 0;
    HICON icon_ = nullptr;
};

} // namespace hh::win32
