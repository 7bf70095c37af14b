// The tray icon and its menu "HH Menu".
#include "platform/win32/WideText.h"
#include "shell/StartDetector.h"
#include "shell/ViewTexts.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/DetectorWindow.h"
#include "shell/win32/Icons.h"

#include <cwchar>
#include <iterator>

namespace hh::win32 {
namespace {

constexpr UINT kTrayCallback = WM_APP + 10;
constexpr int kModCount = static_cast<int>(std::size(texts::kTrayModItems));

void append(HMENU menu, int id, const char* caption) {
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), wideFromUtf8(caption).c_str());
}

void rename(HMENU menu, int id, const std::string& caption) {
    ModifyMenuW(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_STRING, static_cast<UINT_PTR>(id),
                wideFromUtf8(caption).c_str());
}

} // namespace

void DetectorWindow::buildTrayMenu() {
    trayMenu_ = CreatePopupMenu();
    append(trayMenu_, kTrayShowHH, kShowHHCaption);
    AppendMenuW(trayMenu_, MF_SEPARATOR, 0, nullptr);
    append(trayMenu_, kTrayEnable, texts::kTrayEnable);
    append(trayMenu_, kTrayDisable, texts::kTrayDisable);
    AppendMenuW(trayMenu_, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < kModCount; ++i)
        append(trayMenu_, kTrayMod0 + i, texts::kTrayModItems[i].caption);
    AppendMenuW(trayMenu_, MF_SEPARATOR, 0, nullptr);
    append(trayMenu_, kTrayRestore, kHideDetectorCaption);
    AppendMenuW(trayMenu_, MF_SEPARATOR, 0, nullptr);
    append(trayMenu_, kTrayExit, texts::kExit);

    tray_.cbSize = sizeof tray_;
    tray_.hWnd = window_;
    tray_.uID = 1;
    tray_.uFlags = NIF_MESSAGE | NIF_TIP;
    tray_.uCallbackMessage = kTrayCallback;
    std::wcsncpy(tray_.szTip, wideFromUtf8(texts::kTrayToolTip).c_str(),
                 std::size(tray_.szTip) - 1);
}

bool DetectorWindow::notify(DWORD action) {
    tray_.uFlags = NIF_MESSAGE | NIF_TIP | (tray_.hIcon ? NIF_ICON : 0);
    return Shell_NotifyIconW(action, &tray_) != FALSE;
}

bool DetectorWindow::trayAvailable() const {
    return trayAccepted_ && FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

void DetectorWindow::setTrayVisible(bool visible) {
    if (visible == trayShown_)
        return;
    trayShown_ = visible;
    if (visible)
        trayAccepted_ = notify(NIM_ADD);
    else if (trayAccepted_)
        notify(NIM_DELETE);
}

void DetectorWindow::setTrayToolTip(const std::string& text) {
    std::wcsncpy(tray_.szTip, wideFromGameText(text).c_str(), std::size(tray_.szTip) - 1);
    if (trayShown_)
        notify(NIM_MODIFY);
}

void DetectorWindow::setTrayIcon(const std::string& imagePath) {
    HICON icon = loadIconFile(wideFromUtf8(imagePath), GetSystemMetrics(SM_CXSMICON));
    tray_.hIcon = icon;
    if (trayShown_)
        notify(NIM_MODIFY);
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (icon_)
        DestroyIcon(icon_);
    icon_ = icon;
}

void DetectorWindow::setShowHHCaption(const std::string& caption) {
    rename(trayMenu_, kTrayShowHH, caption);
}

void DetectorWindow::setRestoreCaption(const std::string& caption) {
    rename(trayMenu_, kTrayRestore, caption);
}

void DetectorWindow::setTrayMonitoringItems(bool monitoringOn) {
    EnableMenuItem(trayMenu_, kTrayEnable, MF_BYCOMMAND | (monitoringOn ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(trayMenu_, kTrayDisable, MF_BYCOMMAND | (monitoringOn ? MF_ENABLED : MF_GRAYED));
}

void DetectorWindow::setTrayCheckedMod(const std::string& mod) {
    for (int i = 0; i < kModCount; ++i)
        CheckMenuItem(trayMenu_, static_cast<UINT>(kTrayMod0 + i),
                      MF_BYCOMMAND |
                          (mod == texts::kTrayModItems[i].mod ? MF_CHECKED : MF_UNCHECKED));
}

void DetectorWindow::popUpTrayMenu() {
    POINT at;
    GetCursorPos(&at);
    // Without the foreground the menu would stay open after a click elsewhere.
    SetForegroundWindow(window_);
    TrackPopupMenu(trayMenu_, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
}

void DetectorWindow::onTrayMessage(LPARAM mouse) {
    if (!detector_)
        return;
    switch (LOWORD(mouse)) {
    case WM_LBUTTONDOWN:
        detector_->onTrayPress(1);
        break;
    case WM_RBUTTONDOWN:
        detector_->onTrayPress(2);
        break;
    case WM_MBUTTONDOWN:
        detector_->onTrayPress(3);
        break;
    case WM_LBUTTONDBLCLK:
        detector_->onTrayDoubleClick(1);
        break;
    default: // releases and moves are not handled
        break;
    }
}

bool DetectorWindow::trayCommand(int id) {
    if (id >= kTrayMod0 && id < kTrayMod0 + kModCount) {
        detector_->chooseMod(texts::kTrayModItems[id - kTrayMod0].mod);
        return true;
    }
    switch (id) {
    case kTrayShowHH:
        detector_->toggleShowHH();
        return true;
    case kTrayEnable:
        detector_->enableFromTray();
        return true;
    case kTrayDisable:
        detector_->disableFromTray();
        return true;
    case kTrayRestore:
        detector_->toggleDetectorWindow(true);
        return true;
    case kTrayExit:
        detector_->exitProgram();
        return true;
    default:
        return false;
    }
}

} // namespace hh::win32
