#pragma once
// frmMain on Windows: the "Handlehound" window with its menus, console pane,
// buttons, developer controls and three-panel status bar. The logic lives in
// FrmMain and StartDetector; this class only shows and forwards.
#include "common/MainView.h"
#include "shell/ProgramHost.h"
#include "shell/win32/DialogWindow.h"

#include <filesystem>
#include <memory>
#include <string>

namespace hh {
struct Platform;
class FrmMain;
class StartDetector;
} // namespace hh

namespace hh::win32 {

class ArrayViewer;

class MainWindow : public DialogWindow, public MainView, public ProgramHost {
  public:
    MainWindow(std::filesystem::path programDir, Platform& platform);
    ~MainWindow() override;

    // Creates the window, hidden.
    bool create();
    // The logic is built after the window (it needs it as its view).
    void attach(FrmMain& frm, StartDetector& detector);

    // MainView
    void appendConsole(const std::string& text) override;
    std::string consoleText() const override;
    void clearConsole() override;
    void setStatusText(const std::string& text) override;
    void setModPanel(const std::string& text, const std::string& toolTip) override;
    void setStateIcon(bool enabled, const std::string& toolTip) override;
    void setMonitoringControls(bool monitoringOn) override;
    void setTrayIconEnabled(bool) override {} // the tray belongs to the detector window
    void setCheckedMod(const std::string& mod) override;
    void setOpenDumpCaption(const std::string& caption) override;
    void selectDeveloperCommandLine() override;

    // ProgramHost
    void endProgram(int status) override;
    void showDeveloperControls(bool on) override;

    // The frame, as the start detector moves it.
    void showFromTray();
    void hide();
    // Left/Top in twips in the per-user store; a place off the screen is ignored.
    void restorePlacement();
    void savePlacement();

  protected:
    void build() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void buildMenus();
    void layout();
    void layoutStatusBar();
    void openInEditor(const std::filesystem::path& path);
    void copySelection();
    void hideToTray();
    void runCommandLine();
    void showOptions();
    void showAbout();
    void showArrayViewer();
    static LRESULT CALLBACK childProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);

    std::filesystem::path programDir_;
    Platform& platform_;
    FrmMain* frm_ = nullptr;
    StartDetector* detector_ = nullptr;
    std::unique_ptr<ArrayViewer> viewer_;

    HMENU menuBar_ = nullptr;
    HMENU editMenu_ = nullptr;
    HMENU toolsMenu_ = nullptr;
    HWND console_ = nullptr;
    HWND commandLine_ = nullptr;
    HWND statusBar_ = nullptr;
    HICON stateIcon_ = nullptr;
    HICON windowIcon_ = nullptr;
    std::wstring modPanelText_;
    bool developerMode_ = false;
    bool minimized_ = false;
};

} // namespace hh::win32
