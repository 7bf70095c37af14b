#include "app/DesktopApp.h"

#include "app/InstanceLock.h"
#include "app/ProgramFolder.h"
#include "app/ProgramServices.h"
#include "app/ProgramWiring.h"
#include "app/win32/DesktopInstance.h"
#include "settings/Settings.h"
#include "setup/GameFolders.h"
#include "shell/DesktopMainView.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"
#include "shell/win32/DetectorWindow.h"
#include "shell/win32/MainWindow.h"
#include "shell/win32/SetupWindow.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>

namespace hh {
namespace {

// Started from Explorer, the program got a console of its own that nobody
// reads: let it go. Started from a console, it stays with that console.
void leaveOwnConsole() {
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1)
        FreeConsole();
}

WindowId windowId(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

} // namespace

int runDesktop(const AppOptions& options, int, char**) {
    const ProgramFolders folders = resolveProgramFolders(options.programDir);
    const auto& programDir = folders.program;
    // A later desktop start brings the first one's windows to the front; the
    // folder's lock also keeps a headless program off the same folder.
    DesktopInstance instance(programDir);
    if (!instance.isFirst() && instance.askFirstToShow())
        return 0;
    const InstanceLock lock(programDir);
    if (!lock.held()) {
        std::fprintf(stderr, "handlehound: %s\n", lock.refusal().c_str());
        return 2;
    }
    leaveOwnConsole();
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);

    const std::string resourceProblem = installShippedFiles(programDir);
    Settings settings(folders.settingsFile());
    ProgramServices services(
        {true, !options.noFileEvents, options.quiet, programDir, folders.logs});
    Platform& platform = services.platform();

    win32::MainWindow mainWindow(programDir, platform);
    win32::DetectorWindow detectorWindow(mainWindow);
    if (!mainWindow.create() || !detectorWindow.create()) {
        std::fprintf(stderr, "handlehound: the program's windows could not be created\n");
        return 2;
    }
    DesktopMainView mainView(mainWindow, detectorWindow, programDir);
    FrmMain frm(platform, mainView, settings, mainWindow);
    applyOptions(frm, settings, options);
    StartDetector detector(frm, mainView, platform, settings, detectorWindow);
    mainWindow.attach(frm, detector);
    detectorWindow.attach(detector);
    services.setDialogOwner(windowId(mainWindow.handle()));
    services.setMainWindow(windowId(mainWindow.handle()));
    detectorWindow.setSetupRunner([&] {
        win32::SetupWindow setup(frm, platform, homeFromEnvironment());
        return setup.run(detectorWindow.handle());
    });
    detectorWindow.setQuit([&services](int status) { services.quitEventLoop(status); });
    instance.listen(detectorWindow.handle());
    services.setOnTerminateRequest([&detector] { detector.exitProgram(); });

    if (!startDesktop(detector, frm, services, resourceProblem, options.alwaysOn))
        return 0; // setup cancelled: nothing was started
    return services.runEventLoop();
}

} // namespace hh
