#include "shell/DesktopMainView.h"

#include "common/PathText.h"
#include "shell/DetectorView.h"

namespace hh {

std::string trayIconPath(const std::filesystem::path& programDir, bool enabled) {
    return textOf(programDir / "Icons" / (enabled ? "Handlehound_Enabled.ico" : "Handlehound.ico"));
}

void DesktopMainView::setMonitoringControls(bool monitoringOn) {
    window_.setMonitoringControls(monitoringOn);
    tray_.setTrayMonitoringItems(monitoringOn);
}

void DesktopMainView::setTrayIconEnabled(bool enabled) {
    tray_.setTrayIcon(trayIconPath(programDir_, enabled));
}

void DesktopMainView::setCheckedMod(const std::string& mod) {
    window_.setCheckedMod(mod);
    tray_.setTrayCheckedMod(mod);
}

} // namespace hh
