// The main window's menu bar, in the order users know it.
#include "platform/Platform.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"
#include "shell/ViewTexts.h"
#include "shell/qt/MainWindow.h"

#include <QMenuBar>

namespace hh {
namespace {

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuEnable_ = addItem(file, "mnuEnable", "&Enable");
    mnuDisable_ = addItem(file, "mnuDisable", "&Disable");
    file->addSeparator();
    QAction* hide = addItem(file, "mnuHide", "&Hide");
    connect(mnuEnable_, &QAction::triggered, this, [this] { frm_->enableHH(); });
    connect(mnuDisable_, &QAction::triggered, this, [this] { frm_->disableHH(); });
    connect(hide, &QAction::triggered, this, [this] { detector_->unloadMainWindow(); });

    editMenu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
    editMenu_->setObjectName(QStringLiteral("mnuEdit"));
    mnuCopy_ = addItem(editMenu_, "mnuCopy", "&Copy");
    mnuCopy_->setEnabled(false);
    connect(mnuCopy_, &QAction::triggered, this, [this] { copySelection(); });

    QMenu* mod = menuBar()->addMenu(QStringLiteral("&Mod"));
    mod->setObjectName(QStringLiteral("mnuMod"));
    for (const auto& m : texts::kMainModItems) {
        QAction* action = addItem(mod, m.name, m.caption);
        action->setCheckable(true);
        const std::string folder = m.mod;
        connect(action, &QAction::triggered, this,
                [this, folder] { detector_->chooseMod(folder); });
        modItems_.push_back({action, folder});
    }

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    mnuOpenDump_ = addItem(tools, "mnuOpenDump", "&Open 'osp\\handleHound.who'");
    QAction* openLog = addItem(tools, "mnuOpenHHProgLog", "Open Handlehound Program &Log");
    tools->addSeparator();
    QAction* guid = addItem(tools, "mnuGUIDSearch", "GUID Search");
    tools->addSeparator();
    mnuDeveloperMode_ = addItem(tools, "mnuDeveloperMode", "&Developer Mode");
    mnuDeveloperMode_->setCheckable(true);
    tools->addSeparator();
    QAction* settings = addItem(tools, "mnuSettings", "&Settings");
    connect(mnuOpenDump_, &QAction::triggered, this,
            [this] { openInEditor(frm_->GetDumpFileAbsPath()); });
    connect(openLog, &QAction::triggered, this,
            [this] { openInEditor(platform_->paths.logDir() / "console.log"); });
    connect(guid, &QAction::triggered, this, [this] { frm_->guidSearch(); });
    // The check follows the mode (showDeveloperControls), not the click.
    connect(mnuDeveloperMode_, &QAction::triggered, this, [this] { frm_->toggleDeveloperMode(0); });
    connect(settings, &QAction::triggered, this, [this] { showOptions(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* readme = addItem(help, "mnuReadme", "&Open Readme.TXT");
    help->addSeparator();
    QAction* about = addItem(help, "mnuAbout", "&About Handle Hound");
    connect(readme, &QAction::triggered, this,
            [this] { openInEditor(programDir_ / "Handlehound_README.TXT"); });
    connect(about, &QAction::triggered, this, [this] { showAbout(); });
}

} // namespace hh
