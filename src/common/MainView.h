#pragma once
// What the logic needs of the main window's widgets (and, for the mod items
// and the tray icon, of the start detector's). The desktop implements it with
// Qt widgets; the headless program writes the console to standard output.
#include <string>

namespace hh {

class MainView {
  public:
    virtual ~MainView() = default;

    // Console pane. appendConsole adds raw text (the callers put their own
    // CR LF in front); the pane keeps its newest line visible.
    virtual void appendConsole(const std::string& text) = 0;
    virtual std::string consoleText() const = 0;
    virtual void clearConsole() = 0;

    // Status bar: panel 1 state text, panel 2 monitored mod, panel 3 state icon.
    virtual void setStatusText(const std::string& text) = 0;
    virtual void setModPanel(const std::string& text, const std::string& toolTip) = 0;
    virtual void setStateIcon(bool enabled, const std::string& toolTip) = 0;

    // Menus and controls that follow the monitoring state: Enable items
    // enabled exactly while monitoring is off, Disable items while it is on.
    virtual void setMonitoringControls(bool monitoringOn) = 0;
    // Tray icon picture for monitoring on/off.
    virtual void setTrayIconEnabled(bool enabled) = 0;
    // Checks the mod menu items (main window and tray) of `mod`, unchecks the
    // rest; a mod without items leaves all unchecked.
    virtual void setCheckedMod(const std::string& mod) = 0;
    virtual void setOpenDumpCaption(const std::string& caption) = 0;

    // Developer command line: selects its whole text when it is visible.
    virtual void selectDeveloperCommandLine() = 0;
};

} // namespace hh
