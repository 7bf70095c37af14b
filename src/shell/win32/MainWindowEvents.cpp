// The main window's menu bar, its commands and messages, and its position in
// the per-user store.
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"
#include "shell/ViewTexts.h"
#include "shell/WindowPlacement.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/MainWindow.h"

#include <commctrl.h>

#include <iterator>

namespace hh::win32 {
namespace {

constexpr int kModCount = static_cast<int>(std::size(texts::kMainModItems));

// HKEY_CURRENT_USER\Software\Handlehound\Settings, values Left and Top.
constexpr const wchar_t* kPositionKey = L"Software\\Handlehound\\Settings";

void append(HMENU menu, int id, const char* caption) {
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), wideFromUtf8(caption).c_str());
}

HMENU appendPopup(HMENU bar, const char* caption) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), wideFromUtf8(caption).c_str());
    return popup;
}

std::optional<int> readTwips(HKEY key, const wchar_t* name) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (end == text || *end != L'\0')
        return std::nullopt;
    return static_cast<int>(value);
}

void writeTwips(HKEY key, const wchar_t* name, int twips) {
    const std::wstring text = std::to_wstring(twips);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

} // namespace

void MainWindow::buildMenus() {
    menuBar_ = CreateMenu();
    HMENU file = appendPopup(menuBar_, texts::kFileMenu);
    append(file, kMenuEnable, texts::kEnable);
    append(file, kMenuDisable, texts::kDisable);
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    append(file, kMenuHide, texts::kHide);

    editMenu_ = appendPopup(menuBar_, texts::kEditMenu);
    append(editMenu_, kMenuCopy, texts::kCopy);

    HMENU mod = appendPopup(menuBar_, texts::kModMenu);
    for (int i = 0; i < kModCount; ++i)
        append(mod, kMenuMod0 + i, texts::kMainModItems[i].caption);

    toolsMenu_ = appendPopup(menuBar_, texts::kToolsMenu);
    append(toolsMenu_, kMenuOpenDump, texts::kOpenDump);
    append(toolsMenu_, kMenuOpenLog, texts::kOpenProgramLog);
    AppendMenuW(toolsMenu_, MF_SEPARATOR, 0, nullptr);
    append(toolsMenu_, kMenuGuidSearch, texts::kGuidSearch);
    AppendMenuW(toolsMenu_, MF_SEPARATOR, 0, nullptr);
    append(toolsMenu_, kMenuDeveloperMode, texts::kDeveloperMode);
    AppendMenuW(toolsMenu_, MF_SEPARATOR, 0, nullptr);
    append(toolsMenu_, kMenuSettings, texts::kSettings);

    HMENU help = appendPopup(menuBar_, texts::kHelpMenu);
    append(help, kMenuReadme, texts::kOpenReadme);
    AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
    append(help, kMenuAbout, texts::kAboutItem);
    SetMenu(window_, menuBar_);
}

void MainWindow::setCheckedMod(const std::string& mod) {
    for (int i = 0; i < kModCount; ++i)
        CheckMenuItem(menuBar_, static_cast<UINT>(kMenuMod0 + i),
                      MF_BYCOMMAND |
                          (mod == texts::kMainModItems[i].mod ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::setOpenDumpCaption(const std::string& caption) {
    ModifyMenuW(toolsMenu_, kMenuOpenDump, MF_BYCOMMAND | MF_STRING, kMenuOpenDump,
                wideFromGameText(caption).c_str());
}

bool MainWindow::onCommand(int id, int code, HWND) {
    if (!frm_)
        return false;
    if (id >= kMenuMod0 && id < kMenuMod0 + kModCount) {
        detector_->chooseMod(texts::kMainModItems[id - kMenuMod0].mod);
        return true;
    }
    if (id == kMainCommandLine && code == EN_SETFOCUS) {
        // After the click that gave the focus has placed its caret.
        PostMessageW(commandLine_, EM_SETSEL, 0, -1);
        return true;
    }
    if (code != BN_CLICKED) // menu items and buttons both arrive with code 0
        return false;
    switch (id) {
    case kMenuEnable:
        frm_->enableHH();
        return true;
    case kMenuDisable:
        frm_->disableHH();
        return true;
    case kMenuHide:
        detector_->unloadMainWindow();
        return true;
    case kMenuCopy:
        copySelection();
        return true;
    case kMenuOpenDump:
    case kMainEditFile:
        openInEditor(wideFromUtf8(frm_->GetDumpFileAbsPath()));
        return true;
    case kMenuOpenLog:
        openInEditor(platform_.paths.logDir() / "console.log");
        return true;
    case kMenuGuidSearch:
        frm_->guidSearch();
        return true;
    case kMenuDeveloperMode:
        frm_->toggleDeveloperMode(0);
        return true;
    case kMenuSettings:
        showOptions();
        return true;
    case kMenuReadme:
        openInEditor(programDir_ / "Handlehound_README.TXT");
        return true;
    case kMenuAbout:
        showAbout();
        return true;
    case kMainProcessFile:
        frm_->processFile("pullFromFile", 1);
        return true;
    case kMainClearConsole:
        clearConsole();
        return true;
    case kMainHide:
        hideToTray();
        return true;
    case kMainOpenArrayViewer:
        showArrayViewer();
        return true;
    case IDCANCEL: // Escape does not close the main window
        return true;
    default:
        return false;
    }
}

bool MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SIZE:
        if (detector_ && (wParam == SIZE_MINIMIZED) != minimized_) {
            minimized_ = wParam == SIZE_MINIMIZED;
            detector_->onMainWindowResize(minimized_);
        }
        if (wParam != SIZE_MINIMIZED)
            layout();
        return true;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        const RECT least = pixels({0, 0, 260, 140});
        limits->ptMinTrackSize = {least.right, least.bottom};
        return true;
    }
    case WM_CLOSE:
        if (detector_ && !detector_->ending())
            hideToTray();
        return true;
    case WM_INITMENUPOPUP:
        if (reinterpret_cast<HMENU>(wParam) == editMenu_) {
            DWORD start = 0, end = 0;
            SendMessageW(console_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EnableMenuItem(editMenu_, kMenuCopy,
                           MF_BYCOMMAND | (end > start ? MF_ENABLED : MF_GRAYED));
        }
        return false;
    case WM_CTLCOLORSTATIC:
        // A read-only edit is drawn grey by default; the console is a page.
        if (reinterpret_cast<HWND>(lParam) == console_) {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            return true;
        }
        return false;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (frm_ && header->hwndFrom == statusBar_ && header->code == NM_CLICK &&
            reinterpret_cast<const NMMOUSE*>(lParam)->dwItemSpec == 2) {
            const UINT state = GetMenuState(menuBar_, kMenuEnable, MF_BYCOMMAND);
            if (state & MF_GRAYED)
                frm_->disableHH();
            else
                frm_->enableHH();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void MainWindow::restorePlacement() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPositionKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    const auto left = readTwips(key, L"Left");
    const auto top = readTwips(key, L"Top");
    RegCloseKey(key);
    if (!left || !top)
        return;
    RECT frame;
    GetWindowRect(window_, &frame);
    const PixelRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const auto place = savedPlacement(
        *left, *top, {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top},
        screen);
    if (place)
        SetWindowPos(window_, nullptr, place->left, place->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::savePlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window_, &placement))
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kPositionKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    // The normal place, also while the window is minimised or hidden.
    writeTwips(key, L"Left", pixelsToTwips(placement.rcNormalPosition.left));
    writeTwips(key, L"Top", pixelsToTwips(placement.rcNormalPosition.top));
    RegCloseKey(key);
}

} // namespace hh::win32
