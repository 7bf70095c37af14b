#include "app/HeadlessApp.h"

#include "app/ProgramFolder.h"
#include "app/ProgramServices.h"
#include "app/StdoutMainView.h"
#include "settings/Settings.h"
#include "shell/FrmMain.h"
#include "shell/GameWindowPoller.h"
#include "shell/ProgramHost.h"

#include <cstdio>

namespace hh {
namespace {

class HeadlessHost : public ProgramHost {
  public:
    std::function<void(int)> onEnd;
    void endProgram(int status) override {
        if (onEnd)
            onEnd(status);
    }
    void showDeveloperControls(bool) override {}
};

} // namespace

int runHeadless(const AppOptions& options) {
    const auto programDir = resolveProgramDir(options.programDir);
    const std::string resourceProblem = installMissingResources(programDir);
    Settings settings(programDir / "handleHound.ini");
    const std::string dumpPath = settings.path();
    if (dumpPath.empty()) {
        std::fprintf(stderr,
                     "handlehound: %s: the key Path of section [Main] is not set; run "
                     "'handlehound --setup --game-dir DIR --mod NAME --program-dir %s' first\n",
                     settings.iniPath().string().c_str(), programDir.string().c_str());
        return 2;
    }

    ProgramServices services({false, !options.noFileEvents, options.quiet, programDir});
    StdoutMainView view;
    HeadlessHost host;
    FrmMain frm(services.platform(), view, settings, host);
    settings.setOnWriteError([&frm](const std::string& m) { frm.reportProblem(m); });
    if (!options.lookupUrl.empty())
        frm.setLookupUrlOverride(options.lookupUrl);
    if (!resourceProblem.empty())
        frm.reportProblem(resourceProblem);
    const std::string aliasDbNote = services.startLocalAliasService(frm.lookup().lookupAddress());
    if (!aliasDbNote.empty())
        frm.appendConsoleLine(aliasDbNote);

    bool ended = false;
    int exitStatus = 0;
    auto shutdown = [&](int status) {
        if (ended)
            return;
        ended = true;
        exitStatus = status;
        if (frm.state().monitoringOn)
            frm.disableHH();
        frm.stopKeyServices();
        frm.queryUnload();
        frm.resultScript().writeResultScript("Handlehound is Not Running.");
        services.quitEventLoop(status);
    };
    host.onEnd = shutdown;
    services.setOnTerminateRequest([&] { shutdown(0); });

    frm.state().gDumpFileAbsPath = dumpPath;
    frm.load();
    frm.startKeyServices();

    auto pollTimer = services.platform().timers.createTimer();
    GameWindowPoller poller(
        *pollTimer, services.platform().windows, settings, [&] { frm.enableHH(); },
        [&] {
            if (frm.state().monitoringOn)
                frm.disableHH();
        });
    if (options.alwaysOn)
        frm.enableHH();
    else
        poller.start();

    const int status = services.runEventLoop();
    if (!ended)
        shutdown(status);
    return exitStatus;
}

} // namespace hh
