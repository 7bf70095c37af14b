#include "shell/qt/DetectorWindow.h"

#include "shell/StartDetector.h"
#include "shell/WindowPlacement.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/PathCompletion.h"
#include "shell/qt/QtText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace hh {

DetectorWindow::DetectorWindow(MainWindow& mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmStartDetect"));
    setWindowTitle(QStringLiteral("Handlehound: Q3 Start Detector"));
    buildControls();
    buildTray();
    setWindowIcon(tray_->icon());
}

DetectorWindow::~DetectorWindow() = default;

void DetectorWindow::attach(StartDetector& detector) {
    detector_ = &detector;
}

void DetectorWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);
    lblStatus_ = new QLabel(QString::fromLatin1(kGameClosedText), this);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    layout->addWidget(lblStatus_);
    lblInfo_ = new QLabel(this);
    lblInfo_->setObjectName(QStringLiteral("lblInfo"));
    lblInfo_->setWordWrap(true);
    layout->addWidget(lblInfo_);

    auto* configLabel = new QLabel(QStringLiteral("Config to Exec on Q3 Start:"), this);
    layout->addWidget(configLabel);
    auto* configRow = new QHBoxLayout;
    txtConfigToExec_ = new QLineEdit(this);
    txtConfigToExec_->setObjectName(QStringLiteral("txtConfigToExec"));
    configLabel->setBuddy(txtConfigToExec_);
    enablePathCompletion(txtConfigToExec_);
    configRow->addWidget(txtConfigToExec_, 1);
    auto* browse = new QPushButton(QStringLiteral("&Browse"), this);
    browse->setObjectName(QStringLiteral("cmdBrowseConfigToExec"));
    configRow->addWidget(browse);
    layout->addLayout(configRow);

    auto* buttons = new QGridLayout;
    cmdShowHH_ = new QPushButton(QString::fromLatin1(kShowHHCaption), this);
    cmdShowHH_->setObjectName(QStringLiteral("cmdShowHH"));
    cmdHideHH_ = new QPushButton(QString::fromLatin1(kHideHHCaption), this);
    cmdHideHH_->setObjectName(QStringLiteral("cmdHideHH"));
    auto* cmdMinimize = new QPushButton(QStringLiteral("Hide"), this);
    cmdMinimize->setObjectName(QStringLiteral("cmdMinimize"));
    chkStartMin_ = new QCheckBox(QStringLiteral("Start Minimized"), this);
    chkStartMin_->setObjectName(QStringLiteral("chkStartMin"));
    auto* cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    buttons->addWidget(cmdShowHH_, 0, 0);
    buttons->addWidget(cmdHideHH_, 0, 1);
    buttons->addWidget(cmdMinimize, 0, 2);
    buttons->addWidget(chkStartMin_, 1, 0, 1, 2);
    buttons->addWidget(cmdExit, 1, 2);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, [this] { detector_->browseConfigToExec(); });
    connect(cmdShowHH_, &QPushButton::clicked, this, [this] { detector_->toggleShowHH(); });
    connect(cmdHideHH_, &QPushButton::clicked, this, [this] { detector_->toggleShowHH(); });
    connect(cmdMinimize, &QPushButton::clicked, this,
            [this] { detector_->toggleDetectorWindow(false); });
    // clicked, not toggled: only the user's click stores the setting.
    connect(chkStartMin_, &QCheckBox::clicked, this,
            [this](bool checked) { detector_->setStartMin(checked); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { detector_->exitProgram(); });
    resize(460, 260);
}

void DetectorWindow::setGameStatus(const std::string& text) {
    lblStatus_->setText(qs(text));
}

void DetectorWindow::setInfoText(const std::string& text) {
    lblInfo_->setText(qs(text));
}

void DetectorWindow::setConfigToExec(const std::string& path) {
    txtConfigToExec_->setText(qpath(path));
}

void DetectorWindow::setStartMinChecked(bool checked) {
    chkStartMin_->setChecked(checked);
}

void DetectorWindow::setMainShownButtons(bool mainShown) {
    cmdShowHH_->setEnabled(!mainShown);
    cmdHideHH_->setEnabled(mainShown);
}

void DetectorWindow::minimizeDetector() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void DetectorWindow::restoreDetector() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
}

void DetectorWindow::bringDetectorToFront() {
    if (!isVisible())
        return;
    raise();
    activateWindow();
}

int DetectorWindow::detectorLeftTwips() const {
    return pixelsToTwips(x());
}

int DetectorWindow::detectorTopTwips() const {
    return pixelsToTwips(y());
}

void DetectorWindow::centreDetector() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
}

void DetectorWindow::showMainWindow() {
    mainWindow_.showFromTray();
}

void DetectorWindow::hideMainWindow() {
    mainWindow_.hide();
}

void DetectorWindow::restoreMainWindowPlacement() {
    mainWindow_.restorePlacement();
}

void DetectorWindow::saveMainWindowPlacement() {
    mainWindow_.savePlacement();
}

void DetectorWindow::quitProgram(int status) {
    QCoreApplication::exit(status);
}

void DetectorWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized() != lastMinimized_) {
        lastMinimized_ = isMinimized();
        if (detector_)
            detector_->onDetectorResize(lastMinimized_);
    }
    QWidget::changeEvent(event);
}

void DetectorWindow::closeEvent(QCloseEvent* event) {
    // Closing the detector ends the program, as Exit does.
    if (detector_ && !detector_->ending()) {
        event->ignore();
        detector_->exitProgram();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace hh
