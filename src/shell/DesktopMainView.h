#pragma once
// The main window's view as the logic sees it on the desktop: the main
// window's widgets plus the tray icon and tray menu items that follow the
// monitoring state and the mod.
#include "common/MainView.h"

#include <filesystem>

namespace hh {

class DetectorView;

// <program folder>/Icons/Handlehound_Enabled.ico or Handlehound.ico.
std::string trayIconPath(const std::filesystem::path& programDir, bool enabled);

class DesktopMainView : public MainView {
  public:
    DesktopMainView(MainView& window, DetectorView& tray, std::filesystem::path programDir)
        : window_(window), tray_(tray), programDir_(std::move(programDir)) {}

    void appendConsole(const std::string& text) override { window_.appendConsole(text); }
    std::string consoleText() const override { return window_.consoleText(); }
    void clearConsole() override { window_.clearConsole(); }
    void setStatusText(const std::string& text) override { window_.setStatusText(text); }
    void setModPanel(const std::string& text, const std::string& toolTip) override {
        window_.setModPanel(text, toolTip);
    }
    void setStateIcon(bool enabled, const std::string& toolTip) override {
        window_.setStateIcon(enabled, toolTip);
    }
    void setMonitoringControls(bool monitoringOn) override;
    void setTrayIconEnabled(bool enabled) override;
    void setCheckedMod(const std::string& mod) override;
    void setOpenDumpCaption(const std::string& caption) override {
        window_.setOpenDumpCaption(caption);
    }
    void selectDeveloperCommandLine() override { window_.selectDeveloperCommandLine(); }

  private:
    MainView& window_;
    DetectorView& tray_;
    std::filesystem::path programDir_;
};

} // namespace hh
