#include "shell/win32/MainWindow.h"

#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"
#include "shell/ViewTexts.h"
#include "shell/WindowPlacement.h"
#include "shell/win32/AboutBox.h"
#include "shell/win32/ArrayViewer.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/ControlText.h"
#include "shell/win32/Icons.h"
#include "shell/win32/OptionsWindow.h"

#include <commctrl.h>
#include <windowsx.h>

namespace hh::win32 {
namespace {

constexpr int kDeveloperRowTwips = 600; // the console moves down this much

// Layout in dialog units.
constexpr int kMargin = 7;
constexpr int kRowHeight = 14;
constexpr int kButtonWidth = 70;

} // namespace

MainWindow::MainWindow(std::filesystem::path programDir, Platform& platform)
    : programDir_(std::move(programDir)), platform_(platform) {}

MainWindow::~MainWindow() {
    if (stateIcon_)
        DestroyIcon(stateIcon_);
    if (windowIcon_)
        DestroyIcon(windowIcon_);
}

bool MainWindow::create() {
    return createModeless(nullptr, texts::kMainCaption, 426, 258,
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
}

void MainWindow::attach(FrmMain& frm, StartDetector& detector) {
    frm_ = &frm;
    detector_ = &detector;
}

void MainWindow::build() {
    windowIcon_ = loadIconFile(programDir_ / "Icons" / "Handlehound.ico", 0);
    if (windowIcon_) {
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon_));
    }
    buildMenus();
    // No Close in the system menu: the window hides to the tray, the
    // detector ends the program.
    HMENU system = GetSystemMenu(window_, FALSE);
    DeleteMenu(system, SC_CLOSE, MF_BYCOMMAND);
    const int last = GetMenuItemCount(system) - 1;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (last >= 0 && GetMenuItemInfoW(system, static_cast<UINT>(last), TRUE, &info) &&
        (info.fType & MFT_SEPARATOR))
        DeleteMenu(system, static_cast<UINT>(last), MF_BYPOSITION);

    const Box none{0, 0, 10, 10}; // layout() places everything
    addLabel(texts::kCommandLine, none, kMainCommandLineLabel);
    commandLine_ = addEdit(none, kMainCommandLine);
    addButton(texts::kProcessDumpFile, none, kMainProcessFile);
    addButton(texts::kEditDumpFile, none, kMainEditFile);
    addLabel(texts::kConsole, none, kMainConsoleLabel);
    console_ =
        add(WC_EDITW, "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
            none, kMainConsole, WS_EX_CLIENTEDGE);
    SendMessageW(console_, EM_SETLIMITTEXT, 0, 0); // the pane has no length limit
    HWND viewer = addButton(texts::kOpenArrayViewer, none, kMainOpenArrayViewer);
    ShowWindow(viewer, SW_HIDE); // a developer's tool that nothing shows
    addButton(texts::kClearConsole, none, kMainClearConsole);
    addButton(texts::kHide, none, kMainHide);
    statusBar_ = CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0, 0,
        0, window_, reinterpret_cast<HMENU>(kMainStatusBar), GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(console_, childProcedure, kMainConsole, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(commandLine_, childProcedure, kMainCommandLine,
                      reinterpret_cast<DWORD_PTR>(this));
    showDeveloperControls(false);
}

void MainWindow::layout() {
    RECT client;
    GetClientRect(window_, &client);
    RECT unit{4, 8, 0, 0}; // one dialog unit in pixels, four times over
    MapDialogRect(window_, &unit);
    auto du = [&](int x) { return MulDiv(x, unit.left, 4); };
    auto dv = [&](int y) { return MulDiv(y, unit.top, 8); };
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(statusBar_, &bar);
    const int width = client.right;
    const int bottom = client.bottom - (bar.bottom - bar.top);
    auto move = [this](int id, int x, int y, int w, int h) {
        SetWindowPos(item(id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const int margin = du(kMargin), row = dv(kRowHeight), button = du(kButtonWidth);
    int top = dv(kMargin);
    if (developerMode_) {
        const int label = du(50);
        move(kMainCommandLineLabel, margin, top + dv(3), label, dv(8));
        const int edit = width - 2 * margin - label - 2 * (button + du(4));
        move(kMainCommandLine, margin + label, top, edit, row);
        move(kMainProcessFile, width - margin - 2 * button - du(4), top, button, row);
        move(kMainEditFile, width - margin - button, top, button, row);
        top += twipsToPixels(kDeveloperRowTwips);
    }
    move(kMainConsoleLabel, margin, top, du(100), dv(8));
    top += dv(10);
    const int buttonsTop = bottom - dv(kMargin) - row;
    move(kMainConsole, margin, top, width - 2 * margin, buttonsTop - dv(4) - top);
    move(kMainOpenArrayViewer, margin, buttonsTop, du(100), row);
    move(kMainClearConsole, width - margin - 2 * button - du(4), buttonsTop, button, row);
    move(kMainHide, width - margin - button, buttonsTop, button, row);
    layoutStatusBar();
}

void MainWindow::layoutStatusBar() {
    RECT client;
    GetClientRect(statusBar_, &client);
    HDC dc = GetDC(statusBar_);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(statusBar_, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, modPanelText_.c_str(), static_cast<int>(modPanelText_.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(statusBar_, dc);
    const int icon = GetSystemMetrics(SM_CXSMICON) + 12 + GetSystemMetrics(SM_CXVSCROLL);
    const int mod = text.cx + 16;
    int edges[3] = {client.right - icon - mod, client.right - icon, -1};
    SendMessageW(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
}

void MainWindow::appendConsole(const std::string& text) {
    const std::wstring wide = wideFromGameText(withCrLf(text));
    const int end = GetWindowTextLengthW(console_);
    SendMessageW(console_, EM_SETSEL, end, end);
    SendMessageW(console_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(console_, EM_SCROLLCARET, 0, 0);
}

std::string MainWindow::consoleText() const {
    return gameText(console_);
}

void MainWindow::clearConsole() {
    SetWindowTextW(console_, L"");
}

void MainWindow::setStatusText(const std::string& text) {
    SendMessageW(statusBar_, SB_SETTEXTW, 0,
                 reinterpret_cast<LPARAM>(wideFromGameText(text).c_str()));
}

void MainWindow::setModPanel(const std::string& text, const std::string& toolTip) {
    modPanelText_ = wideFromGameText(text);
    layoutStatusBar();
    SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(modPanelText_.c_str()));
    SendMessageW(statusBar_, SB_SETTIPTEXTW, 1,
                 reinterpret_cast<LPARAM>(wideFromGameText(toolTip).c_str()));
}

void MainWindow::setStateIcon(bool enabled, const std::string& toolTip) {
    HICON icon = loadIconFile(programDir_ / "Icons" / (enabled ? "Enabled.ico" : "Disabled.ico"),
                              GetSystemMetrics(SM_CXSMICON));
    SendMessageW(statusBar_, SB_SETICON, 2, reinterpret_cast<LPARAM>(icon));
    if (stateIcon_)
        DestroyIcon(stateIcon_);
    stateIcon_ = icon;
    SendMessageW(statusBar_, SB_SETTIPTEXTW, 2,
                 reinterpret_cast<LPARAM>(wideFromGameText(toolTip).c_str()));
}

void MainWindow::setMonitoringControls(bool monitoringOn) {
    EnableMenuItem(menuBar_, kMenuEnable, MF_BYCOMMAND | (monitoringOn ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menuBar_, kMenuDisable, MF_BYCOMMAND | (monitoringOn ? MF_ENABLED : MF_GRAYED));
    EnableWindow(item(kMainProcessFile), monitoringOn);
    EnableWindow(commandLine_, monitoringOn);
}

void MainWindow::selectDeveloperCommandLine() {
    if (IsWindowVisible(commandLine_))
        SendMessageW(commandLine_, EM_SETSEL, 0, -1);
}

void MainWindow::endProgram(int status) {
    detector_->endProgram(status);
}

void MainWindow::showDeveloperControls(bool on) {
    developerMode_ = on;
    if (!on)
        SetWindowTextW(commandLine_, L"");
    for (int id : {kMainCommandLineLabel, kMainCommandLine, kMainProcessFile, kMainEditFile})
        ShowWindow(item(id), on ? SW_SHOW : SW_HIDE);
    CheckMenuItem(menuBar_, kMenuDeveloperMode, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    // Enter on the dialog presses Process Dump File only in developer mode.
    SendMessageW(window_, DM_SETDEFID, on ? kMainProcessFile : IDOK, 0);
    layout();
}

void MainWindow::showFromTray() {
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
}

void MainWindow::hide() {
    ShowWindow(window_, SW_HIDE);
}

void MainWindow::hideToTray() {
    ShowWindow(window_, SW_MINIMIZE); // reports to the detector, which hides it
    ShowWindow(window_, SW_HIDE);
}

void MainWindow::openInEditor(const std::filesystem::path& path) {
    platform_.shell.openFile(utf8FromWide(path.wstring()));
}

void MainWindow::copySelection() {
    DWORD start = 0, end = 0;
    SendMessageW(console_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    if (end <= start)
        return;
    const std::wstring all = wideText(console_);
    platform_.clipboard.setText(gameTextFromWide(all.substr(start, end - start)));
}

void MainWindow::runCommandLine() {
    const std::string line = gameText(commandLine_);
    if (!line.empty())
        frm_->processFile(line, 1);
}

void MainWindow::showOptions() {
    OptionsWindow dialog(*frm_, platform_);
    dialog.run(window_);
}

void MainWindow::showAbout() {
    AboutBox box(platform_.shell, programDir_);
    box.run(window_);
}

void MainWindow::showArrayViewer() {
    if (!viewer_)
        viewer_ = std::make_unique<ArrayViewer>(frm_->playerTable(), platform_.sound);
    viewer_->show(window_);
}

LRESULT CALLBACK MainWindow::childProcedure(HWND control, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    auto* window = reinterpret_cast<MainWindow*>(self);
    if (id == kMainConsole && message == WM_CONTEXTMENU) {
        // The console's own menu gives way to the Edit menu.
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (at.x == -1 && at.y == -1)
            GetCursorPos(&at);
        TrackPopupMenu(window->editMenu_, TPM_RIGHTBUTTON, at.x, at.y, 0, window->window_, nullptr);
        return 0;
    }
    if (id == kMainCommandLine) {
        if (message == WM_GETDLGCODE && wParam == VK_RETURN)
            return DLGC_WANTALLKEYS;
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            window->runCommandLine();
            return 0;
        }
        if (message == WM_CHAR && wParam == '\r')
            return 0; // no beep
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace hh::win32
