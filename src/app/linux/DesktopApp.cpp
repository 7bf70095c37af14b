#include "app/DesktopApp.h"

#include "app/ProgramFolder.h"
#include "app/ProgramServices.h"
#include "app/ProgramWiring.h"
#include "app/ThisSystem.h"
#include "app/linux/DisplayCheck.h"
#include "app/linux/SingleInstance.h"
#include "settings/Settings.h"
#include "setup/GameFolders.h"
#include "shell/DesktopMainView.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"
#include "shell/qt/DetectorWindow.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/SetupWindow.h"

#include <QApplication>
#include <cstdio>

namespace hh {

int runDesktop(const AppOptions& options, int argc, char** argv) {
    if (displayMissing())
        return 2;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Handlehound"));
    QApplication::setOrganizationName(QStringLiteral("Handlehound"));
    // Lets the desktop match our windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("handlehound"));
    // The tray keeps the program alive while every window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    const ProgramFolders folders = resolveProgramFolders(options.programDir);
    const auto& programDir = folders.program;
    SingleInstance instance(programDir);
    if (!instance.isFirst()) {
        if (instance.askFirstToShow())
            return 0;
        // No first one answered: it runs without a window, or the folder could
        // not be locked at all.
        std::fprintf(stderr, "handlehound: %s\n", instance.refusal().c_str());
        return 2;
    }
    const std::string resourceProblem = installShippedFiles(programDir);
    Settings settings(folders.settingsFile());
    // At login the session starts the same program on the same folders.
    std::vector<std::string> startCommand{(executableDir() / "handlehound").string()};
    if (!options.programDir.empty())
        startCommand.insert(startCommand.end(), {"--program-dir", programDir.string()});
    ProgramServices services(
        {true, !options.noFileEvents, options.quiet, programDir, folders.logs, startCommand});
    Platform& platform = services.platform();

    MainWindow mainWindow(programDir, folders.windowPositionFile());
    DetectorWindow detectorWindow(mainWindow);
    DesktopMainView mainView(mainWindow, detectorWindow, programDir);
    FrmMain frm(platform, mainView, settings, mainWindow);
    applyOptions(frm, settings, options);
    StartDetector detector(frm, mainView, platform, settings, detectorWindow);
    mainWindow.attach(frm, detector, platform);
    detectorWindow.attach(detector);
    services.setDialogOwner(mainWindow.winId());
    services.setMainWindow(mainWindow.winId());
    detectorWindow.setSetupRunner([&] {
        SetupWindow setup(frm, platform, homeFromEnvironment(), &detectorWindow);
        services.setDialogOwner(setup.winId());
        const bool done = setup.exec() == QDialog::Accepted && !setup.cancelled();
        services.setDialogOwner(mainWindow.winId());
        return done;
    });
    instance.setOnShowRequest([&detector] { detector.activateFromAnotherStart(); });
    services.setOnTerminateRequest([&detector] { detector.exitProgram(); });

    if (!startDesktop(detector, frm, services, resourceProblem, options.alwaysOn))
        return 0; // setup cancelled: nothing was started
    return QApplication::exec();
}

} // namespace hh
