#pragma once
// frmMain's widgets: the "Handlehound" window with its menus, console pane,
// buttons, developer controls and three-panel status bar. The logic lives in
// FrmMain and StartDetector; this class only shows and forwards.
#include "common/MainView.h"
#include "shell/ProgramHost.h"

#include <QMainWindow>
#include <filesystem>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace hh {

struct Platform;
class ClickableLabel;
class FrmMain;
class StartDetector;

class MainWindow : public QMainWindow, public MainView, public ProgramHost {
  public:
    // `positionFile`: the per-user store of the window's position.
    MainWindow(std::filesystem::path programDir, std::filesystem::path positionFile,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The logic is built after the widgets (it needs them as its view).
    void attach(FrmMain& frm, StartDetector& detector, Platform& platform);

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
    // Left/Top in twips in the per-user store; a place off the screen is ignored.
    void restorePlacement();
    void savePlacement();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildCentral();
    void buildStatusBar();
    void openInEditor(const std::filesystem::path& path);
    void showOptions();
    void showAbout();
    void showArrayViewer();
    void copySelection();
    void hideToTray();
    void runCommandLine();

    std::filesystem::path programDir_;
    std::filesystem::path positionFile_;
    FrmMain* frm_ = nullptr;
    StartDetector* detector_ = nullptr;
    Platform* platform_ = nullptr;

    QMenu* editMenu_ = nullptr;
    QAction* mnuEnable_ = nullptr;
    QAction* mnuDisable_ = nullptr;
    QAction* mnuCopy_ = nullptr;
    QAction* mnuOpenDump_ = nullptr;
    QAction* mnuDeveloperMode_ = nullptr;
    struct ModItem {
        QAction* action;
        std::string mod;
    };
    std::vector<ModItem> modItems_;

    QPlainTextEdit* txtConsole_ = nullptr;
    QWidget* developerRow_ = nullptr;
    QLineEdit* txtManualCmdEnter_ = nullptr;
    QPushButton* cmdProcessFile_ = nullptr;
    QLabel* panelState_ = nullptr;
    QLabel* panelMod_ = nullptr;
    ClickableLabel* panelIcon_ = nullptr;
};

} // namespace hh
