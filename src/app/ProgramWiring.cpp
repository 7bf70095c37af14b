#include "app/ProgramWiring.h"

#include "app/AppOptions.h"
#include "app/ProgramServices.h"
#include "settings/Settings.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"

namespace hh {

void applyOptions(FrmMain& frm, Settings& settings, const AppOptions& options) {
    settings.setOnWriteError([&frm](const std::string& m) { frm.reportProblem(m); });
    if (!options.lookupUrl.empty())
        frm.setLookupUrlOverride(options.lookupUrl);
}

void startOwnAliasServiceIfUsed(ProgramServices& services, FrmMain& frm) {
    if (frm.lookup().usesOwnService())
        services.startOwnAliasService(
            [&frm](const std::string& address) { frm.lookup().setOwnServiceAddress(address); },
            [&frm](const std::string& line) { frm.appendConsoleLine(line); });
}

bool startDesktop(StartDetector& detector, FrmMain& frm, ProgramServices& services,
                  const std::string& resourceProblem, bool alwaysOn) {
    if (!detector.startUp())
        return false;
    if (!resourceProblem.empty())
        frm.reportProblem(resourceProblem);
    startOwnAliasServiceIfUsed(services, frm);
    if (alwaysOn)
        frm.enableHH();
    return true;
}

} // namespace hh
