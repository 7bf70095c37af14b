#pragma once
#include "common/MainView.h"

#include <string>

namespace hh {

// The headless program's "window": every console line goes to standard
// output at once; the status bar and menus have no one to show them to.
class StdoutMainView : public MainView {
  public:
    void appendConsole(const std::string& text) override;
    std::string consoleText() const override { return console_; }
    void clearConsole() override { console_.clear(); }
    void setStatusText(const std::string&) override {}
    void setModPanel(const std::string&, const std::string&) override {}
    void setStateIcon(bool, const std::string&) override {}
    void setMonitoringControls(bool) override {}
    void setTrayIconEnabled(bool) override {}
    void setCheckedMod(const std::string&) override {}
    void setOpenDumpCaption(const std::string&) override {}
    void selectDeveloperCommandLine() override {}

  private:
    std::string console_;
};

} // namespace hh
