#include "app/HeadlessApp.h"

#include "app/InstanceLock.h"
#include "app/ProgramFolder.h"
#include "app/ProgramServices.h"
#include "app/ProgramWiring.h"
#include "app/StdoutMainView.h"
#include "common/PathText.h"
#include "gamelink/DumpPaths.h"
#include "platform/Files.h"
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

// The set-up for the same program folder as this start.
std::string setupCommandLine(const AppOptions& options) {
    std::string line = "handlehound --setup --game-dir DIR --mod NAME";
    if (!options.programDir.empty())
        line += " --program-dir " + options.programDir;
    return line;
}

} // namespace

int runHeadless(const AppOptions& options) {
    const ProgramFolders folders = resolveProgramFolders(pathOf(options.programDir));
    // Two programs on one folder would both answer every dump.
    const InstanceLock lock(folders.program);
    if (!lock.held()) {
        std::fprintf(stderr, "handlehound: %s\n", lock.refusal().c_str());
        return 2;
    }
    const std::string resourceProblem = installShippedFiles(folders.program);
    // Reading a missing settings file would create it: a start before the
    // set-up leaves nothing behind.
    Settings settings(folders.settingsFile());
    const std::string dumpPath = fileExists(settings.iniPath()) ? settings.path() : std::string();
    if (dumpPath.empty()) {
        std::fprintf(stderr,
                     "handlehound: %s: the key Path of section [Main] is not set; run '%s' first\n",
                     textOf(settings.iniPath()).c_str(), setupCommandLine(options).c_str());
        return 2;
    }

    const std::string gameFolderGone = missingGameFolderMessage(dumpPath);
    if (!gameFolderGone.empty()) {
        std::fprintf(stderr, "handlehound: %s\n", gameFolderGone.c_str());
        return 2;
    }

    ProgramServices services(
        {false, !options.noFileEvents, options.quiet, folders.program, folders.logs});
    StdoutMainView view;
    HeadlessHost host;
    FrmMain frm(services.platform(), view, settings, host);
    applyOptions(frm, settings, options);
    if (!resourceProblem.empty())
        frm.reportProblem(resourceProblem);
    startOwnAliasServiceIfUsed(services, frm);

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
