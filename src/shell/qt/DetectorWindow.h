#pragma once
// frmStartDetect's widgets: the "Handlehound: Q3 Start Detector" window, the
// tray icon with its menu "HH Menu", and the main window's frame as the
// detector moves it.
#include "shell/DetectorView.h"

#include <QSystemTrayIcon>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace hh {

class MainWindow;
class StartDetector;

class DetectorWindow : public QWidget, public DetectorView {
  public:
    explicit DetectorWindow(MainWindow& mainWindow, QWidget* parent = nullptr);
    ~DetectorWindow() override;

    void attach(StartDetector& detector);
    // Shows the setup dialog; false when it was cancelled.
    void setSetupRunner(std::function<bool()> runSetup) { runSetup_ = std::move(runSetup); }
    QSystemTrayIcon& trayIcon() { return *tray_; }
    QMenu& trayMenu() { return *trayMenu_; }

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
    bool detectorMinimized() const override { return isMinimized(); }
    void minimizeDetector() override;
    void restoreDetector() override;
    void setDetectorVisible(bool visible) override { setVisible(visible); }
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
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildTray();
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);

    MainWindow& mainWindow_;
    StartDetector* detector_ = nullptr;
    std::function<bool()> runSetup_;
    bool lastMinimized_ = false;

    QLabel* lblStatus_ = nullptr;
    QLabel* lblInfo_ = nullptr;
    QLineEdit* txtConfigToExec_ = nullptr;
    QPushButton* cmdShowHH_ = nullptr;
    QPushButton* cmdHideHH_ = nullptr;
    QCheckBox* chkStartMin_ = nullptr;

    QSystemTrayIcon* tray_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QAction* mnuShowHH_ = nullptr;
    QAction* mnuEnable_ = nullptr;
    QAction* mnuDisable_ = nullptr;
    QAction* mnuRestore_ = nullptr;
    struct ModItem {
        QAction* action;
        std::string mod;
    };
    std::vector<ModItem> modItems_;
};

} // namespace hh
