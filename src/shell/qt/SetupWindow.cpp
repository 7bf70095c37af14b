#include "shell/qt/SetupWindow.h"

#include "shell/FrmMain.h"
#include "shell/qt/KeyNameList.h"
#include "shell/qt/PathCompletion.h"
#include "shell/qt/QtText.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace hh {

SetupWindow::SetupWindow(FrmMain& frm, Platform& platform, const std::string& home, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Handlehound Setup"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto addLabel = [&](const char* name, const char* text) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setWordWrap(true);
        layout->addWidget(label);
        return label;
    };
    addLabel("Label2",
             "Welcome! Please set the following options for the initial Handlehound startup.");
    QLabel* label3 = addLabel("Label3", "Please enter the path to your game folder (the folder "
                                        "that holds baseq3, e.g. ~/.q3a):");
    auto* pathRow = new QHBoxLayout;
    txtPathToQ3_ = new QLineEdit(this);
    txtPathToQ3_->setObjectName(QStringLiteral("txtPathToQ3"));
    label3->setBuddy(txtPathToQ3_);
    pathRow->addWidget(txtPathToQ3_, 1);
    auto* browse = new QPushButton(QStringLiteral("&Browse"), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    pathRow->addWidget(browse);
    layout->addLayout(pathRow);

    auto* engineForm = new QFormLayout;
    cmbEngine_ = new QComboBox(this);
    cmbEngine_->setObjectName(QStringLiteral("cmbEngine"));
    engineForm->addRow(QStringLiteral("E&ngine:"), cmbEngine_);
    layout->addLayout(engineForm);

    frame1_ = new QGroupBox(QStringLiteral("Quake III Arena Mod:"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    modLayout_ = new QVBoxLayout(frame1_);
    optMod_ = new QButtonGroup(this);
    layout->addWidget(frame1_);

    addLabel("Label5", "Handlehound requires 2 keys for use in Quake III Arena. Please select "
                       "which keys you would like to use:");
    auto* keys = new QFormLayout;
    const char* captions[2] = {"Command &Exec Key:", "&Status Results Key"};
    for (int i = 0; i < 2; ++i) {
        keyLists_[i] = new QComboBox(this);
        keyLists_[i]->setObjectName(QStringLiteral("cmbKeyNames_%1").arg(i));
        keys->addRow(QString::fromLatin1(captions[i]), keyLists_[i]);
    }
    layout->addLayout(keys);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    logic_ = std::make_unique<SetupDialogLogic>(
        *this, frm.settings(), platform, frm.gameScript(),
        [&frm](const std::string& path) { frm.SetDumpFileAbsPath(path); },
        [&frm] { frm.reregisterHotKey(); }, home);
    connect(browse, &QPushButton::clicked, this, [this] { logic_->browse(); });
    connect(ok, &QPushButton::clicked, this, [this] { logic_->ok(); });
    connect(cancel, &QPushButton::clicked, this, [this] { logic_->cancel(); });
    connect(optMod_, &QButtonGroup::idClicked, this, [this](int id) { logic_->modClicked(id); });
    connect(cmbEngine_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        if (!filling_)
            logic_->engineSelected(bytesOf(name));
    });
    logic_->load();
}

SetupWindow::~SetupWindow() = default;

std::string SetupWindow::gameFolderText() const {
    return pathOf(txtPathToQ3_->text());
}
void SetupWindow::setGameFolderText(const std::string& path) {
    txtPathToQ3_->setText(qpath(path));
}
void SetupWindow::enablePathCompletion() {
    hh::enablePathCompletion(txtPathToQ3_);
}

void SetupWindow::setEngineChoices(const std::vector<std::string>& profileNames) {
    filling_ = true;
    cmbEngine_->clear();
    for (const auto& name : profileNames)
        cmbEngine_->addItem(qs(name));
    filling_ = false;
}

void SetupWindow::selectEngine(const std::string& profileName) {
    filling_ = true;
    cmbEngine_->setCurrentIndex(cmbEngine_->findText(qs(profileName)));
    filling_ = false;
}

void SetupWindow::setModChoices(const std::vector<ModChoice>& mods) {
    for (QAbstractButton* old : optMod_->buttons()) {
        optMod_->removeButton(old);
        delete old;
    }
    for (std::size_t i = 0; i < mods.size(); ++i) {
        auto* button = new QRadioButton(qs(mods[i].caption), frame1_);
        button->setObjectName(QStringLiteral("optMod_%1").arg(i));
        optMod_->addButton(button, int(i));
        modLayout_->addWidget(button);
    }
}

void SetupWindow::selectMod(int index) {
    if (QAbstractButton* button = optMod_->button(index))
        button->setChecked(true);
}

void SetupWindow::fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) {
    fillKeyNameList(keyLists_[0], names);
    fillKeyNameList(keyLists_[1], names);
}
std::string SetupWindow::commandKeyText() const {
    return keyNameShown(keyLists_[0]);
}
void SetupWindow::setCommandKeyText(const std::string& name) {
    showKeyName(keyLists_[0], name);
}
std::string SetupWindow::statusKeyText() const {
    return keyNameShown(keyLists_[1]);
}
void SetupWindow::setStatusKeyText(const std::string& name) {
    showKeyName(keyLists_[1], name);
}

void SetupWindow::closeDialog() {
    done(logic_->cancelled() ? QDialog::Rejected : QDialog::Accepted);
}

void SetupWindow::closeEvent(QCloseEvent* event) {
    if (logic_->canClose())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void SetupWindow::reject() {
    // Escape and the title bar close nothing until OK or Cancel decided.
    if (logic_->canClose())
        QDialog::reject();
}

} // namespace hh
