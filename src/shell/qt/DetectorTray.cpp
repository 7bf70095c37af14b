// The tray icon and its menu "HH Menu".
#include "shell/StartDetector.h"
#include "shell/ViewTexts.h"
#include "shell/qt/DetectorWindow.h"
#include "shell/qt/QtText.h"

#include <QCursor>
#include <QMenu>

namespace hh {

void DetectorWindow::buildTray() {
    tray_ = new QSystemTrayIcon(this);
    tray_->setToolTip(QStringLiteral("Handlehound"));
    trayMenu_ = new QMenu(QStringLiteral("HH Menu"), this);
    trayMenu_->setObjectName(QStringLiteral("mnuRCMenu"));
    auto add = [this](const char* name, const char* caption) {
        QAction* action = trayMenu_->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    mnuShowHH_ = add("mnuShowHH", kShowHHCaption);
    trayMenu_->addSeparator();
    mnuEnable_ = add("mnuRCMenu_EnableHandlehound", "&Enable Handlehound");
    mnuDisable_ = add("mnuRCMenu_DisableHandlehound", "&Disable Handlehound");
    trayMenu_->addSeparator();
    for (const auto& m : texts::kTrayModItems) {
        QAction* action = add(m.name, m.caption);
        action->setCheckable(true);
        const std::string folder = m.mod;
        connect(action, &QAction::triggered, this,
                [this, folder] { detector_->chooseMod(folder); });
        modItems_.push_back({action, folder});
    }
    trayMenu_->addSeparator();
    mnuRestore_ = add("mnuRestore", kHideDetectorCaption);
    trayMenu_->addSeparator();
    QAction* exit = add("mnuExit", "E&xit");

    connect(mnuShowHH_, &QAction::triggered, this, [this] { detector_->toggleShowHH(); });
    connect(mnuEnable_, &QAction::triggered, this, [this] { detector_->enableFromTray(); });
    connect(mnuDisable_, &QAction::triggered, this, [this] { detector_->disableFromTray(); });
    connect(mnuRestore_, &QAction::triggered, this,
            [this] { detector_->toggleDetectorWindow(true); });
    connect(exit, &QAction::triggered, this, [this] { detector_->exitProgram(); });
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { onTrayActivated(reason); });
}

void DetectorWindow::onTrayActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!detector_)
        return;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        detector_->onTrayPress(1);
        break;
    case QSystemTrayIcon::Context:
        detector_->onTrayPress(2);
        break;
    case QSystemTrayIcon::MiddleClick:
        detector_->onTrayPress(3);
        break;
    case QSystemTrayIcon::DoubleClick:
        detector_->onTrayDoubleClick(1);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

bool DetectorWindow::trayAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void DetectorWindow::setTrayVisible(bool visible) {
    // Shown even without a tray host yet: Qt docks it when one appears.
    tray_->setVisible(visible);
}

void DetectorWindow::setTrayToolTip(const std::string& text) {
    tray_->setToolTip(qs(text));
}

void DetectorWindow::setTrayIcon(const std::string& imagePath) {
    const QIcon icon(qpath(imagePath));
    tray_->setIcon(icon);
    setWindowIcon(icon);
}

void DetectorWindow::setShowHHCaption(const std::string& caption) {
    mnuShowHH_->setText(qs(caption));
}

void DetectorWindow::setRestoreCaption(const std::string& caption) {
    mnuRestore_->setText(qs(caption));
}

void DetectorWindow::setTrayMonitoringItems(bool monitoringOn) {
    mnuEnable_->setEnabled(!monitoringOn);
    mnuDisable_->setEnabled(monitoringOn);
}

void DetectorWindow::setTrayCheckedMod(const std::string& mod) {
    for (const auto& item : modItems_)
        item.action->setChecked(item.mod == mod);
}

void DetectorWindow::popUpTrayMenu() {
    trayMenu_->popup(QCursor::pos());
}

} // namespace hh
