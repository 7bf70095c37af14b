#include "shell/qt/MainWindow.h"

#include "platform/Platform.h"
#include "shell/FrmMain.h"
#include "shell/StartDetector.h"
#include "shell/qt/AboutBox.h"
#include "shell/qt/ArrayViewer.h"
#include "shell/qt/ClickableLabel.h"
#include "shell/qt/OptionsWindow.h"
#include "shell/qt/QtText.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace hh {

MainWindow::MainWindow(std::filesystem::path programDir, std::filesystem::path positionFile,
                       QWidget* parent)
    : QMainWindow(parent), programDir_(std::move(programDir)),
      positionFile_(std::move(positionFile)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Handlehound"));
    setWindowIcon(QIcon(qpath((programDir_ / "Icons" / "Handlehound.png").string())));
    // No Close in the title bar: the window hides to the tray, the detector
    // ends the program.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint);
    buildMenus();
    buildCentral();
    buildStatusBar();
    resize(640, 420);
}

MainWindow::~MainWindow() = default;

void MainWindow::attach(FrmMain& frm, StartDetector& detector, Platform& platform) {
    frm_ = &frm;
    detector_ = &detector;
    platform_ = &platform;
}

void MainWindow::buildCentral() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    developerRow_ = new QWidget(central);
    auto* devLayout = new QHBoxLayout(developerRow_);
    devLayout->setContentsMargins(0, 0, 0, 0);
    devLayout->addWidget(new QLabel(QStringLiteral("Command Line:"), developerRow_));
    txtManualCmdEnter_ = new QLineEdit(developerRow_);
    txtManualCmdEnter_->setObjectName(QStringLiteral("txtManualCmdEnter"));
    txtManualCmdEnter_->installEventFilter(this);
    devLayout->addWidget(txtManualCmdEnter_, 1);
    cmdProcessFile_ = new QPushButton(QStringLiteral("&Process Dump File"), developerRow_);
    cmdProcessFile_->setObjectName(QStringLiteral("cmdProcessFile"));
    devLayout->addWidget(cmdProcessFile_);
    auto* cmdEditFile = new QPushButton(QStringLiteral("E&dit Dump File"), developerRow_);
    cmdEditFile->setObjectName(QStringLiteral("cmdEditFile"));
    devLayout->addWidget(cmdEditFile);
    developerRow_->setVisible(false);
    layout->addWidget(developerRow_);
    connect(txtManualCmdEnter_, &QLineEdit::returnPressed, this, [this] { runCommandLine(); });
    connect(cmdProcessFile_, &QPushButton::clicked, this,
            [this] { frm_->processFile("pullFromFile", 1); });
    connect(cmdEditFile, &QPushButton::clicked, this,
            [this] { openInEditor(frm_->GetDumpFileAbsPath()); });

    auto* lblConsole = new QLabel(QStringLiteral("Console:"), central);
    layout->addWidget(lblConsole);
    txtConsole_ = new QPlainTextEdit(central);
    txtConsole_->setObjectName(QStringLiteral("txtConsole"));
    txtConsole_->setReadOnly(true);
    txtConsole_->setContextMenuPolicy(Qt::CustomContextMenu);
    lblConsole->setBuddy(txtConsole_);
    layout->addWidget(txtConsole_, 1);
    connect(txtConsole_, &QPlainTextEdit::customContextMenuRequested, this,
            [this](const QPoint& at) { editMenu_->popup(txtConsole_->mapToGlobal(at)); });
    connect(txtConsole_, &QPlainTextEdit::copyAvailable, mnuCopy_, &QAction::setEnabled);

    auto* buttons = new QHBoxLayout;
    auto* cmdOpenArrayViewer = new QPushButton(QStringLiteral("Open Array Viewer Form"), central);
    cmdOpenArrayViewer->setObjectName(QStringLiteral("cmdOpenArrayViewer"));
    cmdOpenArrayViewer->setVisible(false); // a developer's tool that nothing shows
    buttons->addWidget(cmdOpenArrayViewer);
    buttons->addStretch(1);
    auto* cmdClearConsole = new QPushButton(QStringLiteral("&Clear Console"), central);
    cmdClearConsole->setObjectName(QStringLiteral("cmdClearConsole"));
    buttons->addWidget(cmdClearConsole);
    auto* cmdExit = new QPushButton(QStringLiteral("&Hide"), central);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    buttons->addWidget(cmdExit);
    layout->addLayout(buttons);
    connect(cmdOpenArrayViewer, &QPushButton::clicked, this, [this] { showArrayViewer(); });
    connect(cmdClearConsole, &QPushButton::clicked, this, [this] { clearConsole(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { hideToTray(); });
    setCentralWidget(central);
}

void MainWindow::buildStatusBar() {
    panelState_ = new QLabel(this);
    panelState_->setObjectName(QStringLiteral("StatusBar1Panel1"));
    panelMod_ = new QLabel(this);
    panelMod_->setObjectName(QStringLiteral("StatusBar1Panel2"));
    panelIcon_ = new ClickableLabel(this);
    panelIcon_->setObjectName(QStringLiteral("StatusBar1Panel3"));
    panelIcon_->setMinimumWidth(24);
    panelIcon_->onClicked = [this] {
        if (mnuEnable_->isEnabled())
            frm_->enableHH();
        else
            frm_->disableHH();
    };
    statusBar()->addWidget(panelState_, 1);
    statusBar()->addPermanentWidget(panelMod_);
    statusBar()->addPermanentWidget(panelIcon_);
}

void MainWindow::appendConsole(const std::string& text) {
    QString line = qs(text);
    line.remove(QLatin1Char('\r'));
    QTextCursor end(txtConsole_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(line);
    txtConsole_->setTextCursor(end);
    txtConsole_->ensureCursorVisible();
}

std::string MainWindow::consoleText() const {
    QString text = txtConsole_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return bytesOf(text);
}

void MainWindow::clearConsole() {
    txtConsole_->clear();
}

void MainWindow::setStatusText(const std::string& text) {
    panelState_->setText(qs(text));
}

void MainWindow::setModPanel(const std::string& text, const std::string& toolTip) {
    panelMod_->setText(qs(text));
    panelMod_->setToolTip(qs(toolTip));
}

void MainWindow::setStateIcon(bool enabled, const std::string& toolTip) {
    const auto icon = programDir_ / "Icons" / (enabled ? "Enabled.ico" : "Disabled.ico");
    panelIcon_->setPixmap(QIcon(qpath(icon.string())).pixmap(16, 16));
    panelIcon_->setToolTip(qs(toolTip));
    panelIcon_->setProperty("monitoringOn", enabled);
}

void MainWindow::setMonitoringControls(bool monitoringOn) {
    mnuEnable_->setEnabled(!monitoringOn);
    mnuDisable_->setEnabled(monitoringOn);
    cmdProcessFile_->setEnabled(monitoringOn);
    txtManualCmdEnter_->setEnabled(monitoringOn);
}

void MainWindow::setCheckedMod(const std::string& mod) {
    for (const auto& item : modItems_)
        item.action->setChecked(item.mod == mod);
}

void MainWindow::setOpenDumpCaption(const std::string& caption) {
    mnuOpenDump_->setText(qs(caption));
}

void MainWindow::selectDeveloperCommandLine() {
    if (txtManualCmdEnter_->isVisible())
        txtManualCmdEnter_->selectAll();
}

void MainWindow::endProgram(int status) {
    detector_->endProgram(status);
}

void MainWindow::showDeveloperControls(bool on) {
    if (!on)
        txtManualCmdEnter_->clear();
    developerRow_->setVisible(on);
    mnuDeveloperMode_->setChecked(on);
}

void MainWindow::showFromTray() {
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (detector_ && !detector_->ending()) {
        event->ignore();
        hideToTray();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && detector_)
        detector_->onMainWindowResize(isMinimized());
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A click would undo a selection made on focus-in; select once it landed.
    if (watched == txtManualCmdEnter_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, this, [this] { selectDeveloperCommandLine(); });
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::openInEditor(const std::filesystem::path& path) {
    platform_->shell.openFile(path.string());
}

void MainWindow::copySelection() {
    QString selected = txtConsole_->textCursor().selectedText();
    if (selected.isEmpty())
        return;
    selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    platform_->clipboard.setText(bytesOf(selected));
}

void MainWindow::hideToTray() {
    setWindowState(windowState() | Qt::WindowMinimized);
    hide();
}

void MainWindow::runCommandLine() {
    const std::string line = bytesOf(txtManualCmdEnter_->text());
    if (!line.empty())
        frm_->processFile(line, 1);
}

void MainWindow::showOptions() {
    OptionsWindow dialog(*frm_, *platform_, this);
    dialog.exec();
}

void MainWindow::showAbout() {
    AboutBox box(platform_->shell, programDir_, this);
    box.exec();
}

void MainWindow::showArrayViewer() {
    auto* viewer = new ArrayViewer(frm_->playerTable(), platform_->sound, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

} // namespace hh
