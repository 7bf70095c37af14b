#include "shell/qt/OptionsWindow.h"

#include "platform/Platform.h"
#include "shell/FrmMain.h"
#include "shell/qt/ColourDigitBox.h"
#include "shell/qt/KeyNameList.h"
#include "shell/qt/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace hh {

OptionsWindow::OptionsWindow(FrmMain& frm, Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Handle Hound Options"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(buildMainTab(), QStringLiteral("Main"));
    tabs_->addTab(buildBehaviorTab(), QStringLiteral("Behavior"));
    tabs_->addTab(buildEngineTab(), QStringLiteral("Engine"));
    layout->addWidget(tabs_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* apply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::ApplyRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    apply->setObjectName(QStringLiteral("cmdApply"));
    // Cancel takes no focus, so leaving a key list for it is never refused.
    cancel->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(buttons);

    logic_ = std::make_unique<OptionsDialogLogic>(
        *this, frm.state(), frm.settings(), platform, frm.gameScript(),
        [&frm] { frm.reregisterHotKey(); }, [&frm] { frm.keyCodesChanged(); });
    logic_->setDumpPathChanged([&frm](const std::string& path) { frm.SetDumpFileAbsPath(path); });
    for (int i = 0; i < 4; ++i)
        connect(delay_[i], &QRadioButton::clicked, this,
                [this, i] { logic_->delayOptionClicked(i); });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (logic_->applyOptions())
            accept();
    });
    connect(apply, &QPushButton::clicked, this, [this] { logic_->applyOptions(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    logic_->load();
}

OptionsWindow::~OptionsWindow() = default;

QWidget* OptionsWindow::buildMainTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* frame3 = new QGroupBox(QStringLiteral("Command Issue Delay:"), page);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto* row = new QHBoxLayout(frame3);
    const char* captions[4] = {"Short", "Medium", "Default", "Long"};
    for (int i = 0; i < 4; ++i) {
        delay_[i] = new QRadioButton(QString::fromLatin1(captions[i]), frame3);
        delay_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        row->addWidget(delay_[i]);
    }
    layout->addWidget(frame3);
    chkStartMinimized_ = new QCheckBox(QStringLiteral("Minimize Handlehound on Startup"), page);
    chkStartMinimized_->setObjectName(QStringLiteral("chkStartMinimized"));
    layout->addWidget(chkStartMinimized_);
    chkStartAtLogin_ = new QCheckBox(QStringLiteral("Start Handlehound when I log in"), page);
    chkStartAtLogin_->setObjectName(QStringLiteral("chkStartAtLogin"));
    layout->addWidget(chkStartAtLogin_);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsWindow::buildBehaviorTab() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    txtNumAliases_ = new QLineEdit(page);
    txtNumAliases_->setObjectName(QStringLiteral("txtNumAliases"));
    txtNumAliases_->setMaxLength(6);
    form->addRow(QStringLiteral("&Max number of Aliases to Retrieve:"), txtNumAliases_);

    auto* frame2 = new QGroupBox(QStringLiteral("Alias List Colors"), page);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* colours = new QFormLayout(frame2);
    auto beep = [this] { platform_.sound.beep(); };
    txtNameColor_ = new ColourDigitBox(beep, frame2);
    txtNameColor_->setObjectName(QStringLiteral("txtNameColor"));
    colours->addRow(QStringLiteral("&Name Color:"), txtNameColor_);
    txtSeparatorColor_ = new ColourDigitBox(beep, frame2);
    txtSeparatorColor_->setObjectName(QStringLiteral("txtSeparatorColor"));
    colours->addRow(QStringLiteral("&Separator Color:"), txtSeparatorColor_);
    form->addRow(frame2);

    const char* labels[2] = {"Command Exec Key:", "Status/Results Key:"};
    for (int i = 0; i < 2; ++i) {
        keyLists_[i] = new QComboBox(page);
        keyLists_[i]->setObjectName(QStringLiteral("cmbKeyNames_%1").arg(i));
        keyLists_[i]->installEventFilter(this);
        form->addRow(QString::fromLatin1(labels[i]), keyLists_[i]);
    }
    return page;
}

QWidget* OptionsWindow::buildEngineTab() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    txtWindowTitle_ = new QLineEdit(page);
    txtWindowTitle_->setObjectName(QStringLiteral("txtGameWindowTitle"));
    txtWindowTitle_->setMaxLength(255);
    form->addRow(QStringLiteral("Game &window title:"), txtWindowTitle_);
    txtBaseFolder_ = new QLineEdit(page);
    txtBaseFolder_->setObjectName(QStringLiteral("txtBaseFolder"));
    txtBaseFolder_->setMaxLength(64);
    form->addRow(QStringLiteral("&Base folder:"), txtBaseFolder_);
    txtDumpFileName_ = new QLineEdit(page);
    txtDumpFileName_->setObjectName(QStringLiteral("txtDumpFileName"));
    txtDumpFileName_->setMaxLength(64);
    form->addRow(QStringLiteral("&Dump file name:"), txtDumpFileName_);
    return page;
}

bool OptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a key list while both name the same key is refused: the
    // message, and the focus goes back to the list it tried to leave.
    const bool keyList = watched == keyLists_[0] || watched == keyLists_[1];
    if (keyList && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            refuseEqualKeys(commandKeyText(), statusKeyText(), platform_))
            static_cast<QWidget*>(watched)->setFocus(Qt::OtherFocusReason);
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsWindow::showMainTab() {
    tabs_->setCurrentIndex(0);
}
std::string OptionsWindow::numAliasesText() const {
    return bytesOf(txtNumAliases_->text());
}
void OptionsWindow::setNumAliasesText(const std::string& text) {
    txtNumAliases_->setText(qs(text));
}
bool OptionsWindow::startMinimized() const {
    return chkStartMinimized_->isChecked();
}
void OptionsWindow::setStartMinimized(bool checked) {
    chkStartMinimized_->setChecked(checked);
}
bool OptionsWindow::startAtLogin() const {
    return chkStartAtLogin_->isChecked();
}
void OptionsWindow::setStartAtLogin(bool checked, bool offered) {
    chkStartAtLogin_->setChecked(checked);
    chkStartAtLogin_->setEnabled(offered);
}
std::string OptionsWindow::nameColorDigit() const {
    return bytesOf(txtNameColor_->text());
}
void OptionsWindow::setNameColorDigit(const std::string& digit) {
    txtNameColor_->setText(qs(digit));
}
std::string OptionsWindow::sepColorDigit() const {
    return bytesOf(txtSeparatorColor_->text());
}
void OptionsWindow::setSepColorDigit(const std::string& digit) {
    txtSeparatorColor_->setText(qs(digit));
}
void OptionsWindow::fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) {
    fillKeyNameList(keyLists_[0], names);
    fillKeyNameList(keyLists_[1], names);
}
std::string OptionsWindow::commandKeyText() const {
    return keyNameShown(keyLists_[0]);
}
void OptionsWindow::setCommandKeyText(const std::string& name) {
    showKeyName(keyLists_[0], name);
}
std::string OptionsWindow::statusKeyText() const {
    return keyNameShown(keyLists_[1]);
}
void OptionsWindow::setStatusKeyText(const std::string& name) {
    showKeyName(keyLists_[1], name);
}
void OptionsWindow::selectDelayOption(std::optional<int> index) {
    // An exclusive group cannot show "none" while one is checked.
    for (QRadioButton* button : delay_)
        button->setAutoExclusive(false);
    for (int i = 0; i < 4; ++i)
        delay_[i]->setChecked(index && *index == i);
    for (QRadioButton* button : delay_)
        button->setAutoExclusive(true);
}
std::string OptionsWindow::gameWindowTitle() const {
    return bytesOf(txtWindowTitle_->text());
}
void OptionsWindow::setGameWindowTitle(const std::string& title) {
    txtWindowTitle_->setText(qs(title));
}
std::string OptionsWindow::baseFolder() const {
    return bytesOf(txtBaseFolder_->text());
}
void OptionsWindow::setBaseFolder(const std::string& folder) {
    txtBaseFolder_->setText(qs(folder));
}
std::string OptionsWindow::dumpFileName() const {
    return bytesOf(txtDumpFileName_->text());
}
void OptionsWindow::setDumpFileName(const std::string& name) {
    txtDumpFileName_->setText(qs(name));
}

} // namespace hh
