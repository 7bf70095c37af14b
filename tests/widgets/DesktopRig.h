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

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>

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

// Captions of a menu's items in order, separators as "-".
inline std::vector<std::string> captions(const QMenu& menu) {
    std::vector<std::string> out;
    for (const QAction* a : menu.actions())
        out.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    return out;
}

// Captions of the named buttons of a window, "?" for a missing one.
inline std::vector<std::string> buttonTexts(QObject& window,
                                            std::initializer_list<const char*> names) {
    std::vector<std::string> out;
    for (const char* name : names) {
        const auto* b = window.findChild<QAbstractButton*>(QString::fromLatin1(name));
        out.push_back(b ? b->text().toStdString() : "?");
    }
    return out;
}

} // namespace hh::test
