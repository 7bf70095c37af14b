#pragma once
// The desktop's real widgets over the fake platform services: the same
// composition the program builds, without a display or real dialogs.
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "shell/DesktopMainView.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"
#include "shell/qt/DetectorWindow.h"
#include "shell/qt/MainWindow.h"

#include <QAction>

namespace hh::test {

struct DesktopRig {
    DesktopRig()
        : settings(fp.temp / "handleHound.ini"),
          mainWindow(fp.paths.program, fp.temp / "Handlehound.conf"), detectorWindow(mainWindow),
          mainView(mainWindow, detectorWindow, fp.paths.program),
          frm(fp.platform, mainView, settings, mainWindow),
          detector(frm, mainView, fp.platform, settings, detectorWindow) {
        mainWindow.attach(frm, detector, fp.platform);
        detectorWindow.attach(detector);
        writeFile(dumpPath(), "");
        writeFile(gameDir() / "baseq3" / "autoexec.cfg", "");
        settings.setPath(dumpPath().string());
        settings.setNewUserSeen();
    }
    ~DesktopRig() {
        mainWindow.hide();
        detectorWindow.hide();
    }
    std::filesystem::path gameDir() const { return fp.temp / "game"; }
    std::filesystem::path dumpPath() const { return gameDir() / "osp" / "handleHound.who"; }

    template <typename T> T* find(QObject& parent, const char* name) {
        return parent.findChild<T*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) { return find<QAction>(mainWindow, name); }

    FakePlatform fp;
    Settings settings;
    MainWindow mainWindow;
    DetectorWindow detectorWindow;
    DesktopMainView mainView;
    FrmMain frm;
    StartDetector detector;
};

} // namespace hh::test
