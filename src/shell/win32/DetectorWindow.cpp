#include "shell/win32/DetectorWindow.h"

#include "shell/StartDetector.h"
#include "shell/ViewTexts.h"
#include "shell/WindowPlacement.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/ControlText.h"
#include "shell/win32/MainWindow.h"

#include <shlwapi.h>

namespace hh::win32 {

DetectorWindow::DetectorWindow(MainWindow& mainWindow) : mainWindow_(mainWindow) {}

DetectorWindow::~DetectorWindow() {
    setTrayVisible(false);
    if (trayMenu_)
        DestroyMenu(trayMenu_);
    if (icon_)
        DestroyIcon(icon_);
}

bool DetectorWindow::create() {
    return createModeless(nullptr, texts::kDetectorCaption, 300, 170,
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
}

void DetectorWindow::build() {
    addLabel(kGameClosedText, {7, 7, 286, 9}, kDetectorStatus);
    addLabel("", {7, 20, 286, 58}, kDetectorInfo);
    addLabel(texts::kConfigToExec, {7, 82, 286, 9}, kDetectorConfigLabel);
    HWND config = addEdit({7, 93, 232, 14}, kDetectorConfig);
    SHAutoComplete(config, SHACF_FILESYSTEM);
    addButton(texts::kBrowse, {243, 93, 50, 14}, kDetectorBrowse);
    addButton(kShowHHCaption, {7, 115, 90, 14}, kDetectorShowHH);
    addButton(kHideHHCaption, {103, 115, 90, 14}, kDetectorHideHH);
    addButton(texts::kHideDetector, {203, 115, 90, 14}, kDetectorMinimize);
    addButton(texts::kStartMinimized, {7, 137, 150, 14}, kDetectorStartMin, BS_AUTOCHECKBOX);
    addButton(texts::kExit, {203, 137, 90, 14}, kDetectorExit);
    buildTrayMenu();
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    showRunning_ = RegisterWindowMessageW(kShowRunningMessage);
}

void DetectorWindow::setGameStatus(const std::string& text) {
    setGameText(item(kDetectorStatus), text);
}

void DetectorWindow::setInfoText(const std::string& text) {
    setGameText(item(kDetectorInfo), text);
}

void DetectorWindow::setConfigToExec(const std::string& path) {
    setPathText(item(kDetectorConfig), path);
}

void DetectorWindow::setStartMinChecked(bool checked) {
    CheckDlgButton(window_, kDetectorStartMin, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DetectorWindow::setMainShownButtons(bool mainShown) {
    EnableWindow(item(kDetectorShowHH), !mainShown);
    EnableWindow(item(kDetectorHideHH), mainShown);
}

void DetectorWindow::setDetectorVisible(bool visible) {
    ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void DetectorWindow::bringDetectorToFront() {
    if (IsWindowVisible(window_))
        SetForegroundWindow(window_);
}

int DetectorWindow::detectorLeftTwips() const {
    RECT frame;
    GetWindowRect(window_, &frame);
    return pixelsToTwips(frame.left);
}

int DetectorWindow::detectorTopTwips() const {
    RECT frame;
    GetWindowRect(window_, &frame);
    return pixelsToTwips(frame.top);
}

void DetectorWindow::centreDetector() {
    RECT frame;
    GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DetectorWindow::showMainWindow() {
    mainWindow_.showFromTray();
}

void DetectorWindow::hideMainWindow() {
    mainWindow_.hide();
}

void DetectorWindow::restoreMainWindowPlacement() {
    mainWindow_.restorePlacement();
}

void DetectorWindow::saveMainWindowPlacement() {
    mainWindow_.savePlacement();
}

void DetectorWindow::quitProgram(int status) {
    if (quit_)
        quit_(status);
}

bool DetectorWindow::onCommand(int id, int code, HWND) {
    if (!detector_)
        return false;
    if (trayCommand(id))
        return true;
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case kDetectorBrowse:
        detector_->browseConfigToExec();
        return true;
    case kDetectorShowHH:
    case kDetectorHideHH:
        detector_->toggleShowHH();
        return true;
    case kDetectorMinimize:
        detector_->toggleDetectorWindow(false);
        return true;
    case kDetectorStartMin:
        // Only the user's click stores the setting.
        detector_->setStartMin(IsDlgButtonChecked(window_, kDetectorStartMin) == BST_CHECKED);
        return true;
    case kDetectorExit:
        detector_->exitProgram();
        return true;
    case IDCANCEL: // Escape does not end the program
        return true;
    default:
        return false;
    }
}

bool DetectorWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (message == tray_.uCallbackMessage && message != 0) {
        onTrayMessage(lParam);
        return true;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The shell restarted and forgot every icon.
        if (trayShown_)
            trayAccepted_ = notify(NIM_ADD);
        return true;
    }
    if (message == showRunning_ && showRunning_ != 0) {
        if (detector_)
            detector_->activateFromAnotherStart();
        return true;
    }
    switch (message) {
    case WM_SIZE:
        if ((wParam == SIZE_MINIMIZED) != lastMinimized_) {
            lastMinimized_ = wParam == SIZE_MINIMIZED;
            if (detector_)
                detector_->onDetectorResize(lastMinimized_);
        }
        return true;
    case WM_CLOSE:
        // Closing the detector ends the program, as Exit does.
        if (detector_ && !detector_->ending())
            detector_->exitProgram();
        return true;
    default:
        return false;
    }
}

} // namespace hh::win32
