#include "shell/win32/SetupWindow.h"

#include "platform/win32/WideText.h"
#include "shell/FrmMain.h"
#include "shell/ViewTexts.h"
#include "shell/win32/ControlText.h"
#include "shell/win32/KeyNameList.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace hh::win32 {
namespace {

enum : int {
    kFolder = 100,
    kBrowse,
    kEngine,
    kCommandKey,
    kStatusKey,
    kCancelButton, // not IDCANCEL: Escape and the title bar close nothing
    kMod0,
};

constexpr int kModRows = 5; // more mods go to a second column

} // namespace

SetupWindow::SetupWindow(FrmMain& frm, Platform& platform, std::string home)
    : frm_(frm), platform_(platform), home_(std::move(home)) {}

SetupWindow::~SetupWindow() = default;

bool SetupWindow::run(HWND owner) {
    return runModal(owner, texts::kSetupCaption, 330, 246) == IDOK;
}

void SetupWindow::build() {
    addLabel(texts::kSetupWelcome, {7, 7, 316, 18});
    addLabel(texts::kSetupFolderPromptWindows, {7, 28, 316, 18});
    addEdit({7, 48, 260, 14}, kFolder);
    addButton(texts::kBrowse, {271, 48, 52, 14}, kBrowse);
    addLabel(texts::kEngine, {7, 70, 50, 9});
    addComboList({60, 68, 120, 12}, kEngine);
    addGroup(texts::kModFrame, {7, 86, 316, 16 + kModRows * 12});
    // WS_GROUP: the mod buttons' group ends here.
    add(WC_STATICW, texts::kSetupKeysNote, SS_LEFT | WS_GROUP, {7, 166, 316, 18});
    for (int i = 0; i < 2; ++i) {
        addLabel(texts::kSetupKeyLabels[i], {7, 190 + i * 16, 90, 9});
        addComboList({100, 188 + i * 16, 80, 12}, kCommandKey + i);
    }
    addButton(texts::kSetupOK, {218, 226, 50, 14}, IDOK, BS_DEFPUSHBUTTON);
    addButton(texts::kSetupCancel, {273, 226, 50, 14}, kCancelButton);

    logic_ = std::make_unique<SetupDialogLogic>(
        *this, frm_.settings(), platform_, frm_.gameScript(),
        [this](const std::string& path) { frm_.SetDumpFileAbsPath(path); },
        [this] { frm_.reregisterHotKey(); }, home_);
    logic_->load();
}

std::string SetupWindow::gameFolderText() const {
    return pathText(item(kFolder));
}

void SetupWindow::setGameFolderText(const std::string& path) {
    setPathText(item(kFolder), path);
}

void SetupWindow::enablePathCompletion() {
    SHAutoComplete(item(kFolder), SHACF_FILESYSTEM);
}

void SetupWindow::setEngineChoices(const std::vector<std::string>& profileNames) {
    filling_ = true;
    HWND list = item(kEngine);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const auto& name : profileNames)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideFromUtf8(name).c_str()));
    filling_ = false;
}

void SetupWindow::selectEngine(const std::string& profileName) {
    SendMessageW(item(kEngine), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(wideFromUtf8(profileName).c_str()));
}

void SetupWindow::setModChoices(const std::vector<ModChoice>& mods) {
    for (HWND old : modButtons_)
        DestroyWindow(old);
    modButtons_.clear();
    for (std::size_t i = 0; i < mods.size(); ++i) {
        const int row = static_cast<int>(i) % kModRows, column = static_cast<int>(i) / kModRows;
        modButtons_.push_back(
            addButton(mods[i].caption, {17 + column * 150, 99 + row * 12, 145, 10},
                      kMod0 + static_cast<int>(i), BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0)));
    }
    // Keep the keyboard order of the window: the mods after the engine list.
    HWND after = item(kEngine);
    for (HWND button : modButtons_) {
        SetWindowPos(button, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = button;
    }
}

void SetupWindow::selectMod(int index) {
    for (std::size_t i = 0; i < modButtons_.size(); ++i)
        SendMessageW(modButtons_[i], BM_SETCHECK,
                     static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SetupWindow::fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) {
    fillKeyNameList(item(kCommandKey), names);
    fillKeyNameList(item(kStatusKey), names);
}
std::string SetupWindow::commandKeyText() const {
    return keyNameShown(item(kCommandKey));
}
void SetupWindow::setCommandKeyText(const std::string& name) {
    showKeyName(item(kCommandKey), name);
}
std::string SetupWindow::statusKeyText() const {
    return keyNameShown(item(kStatusKey));
}
void SetupWindow::setStatusKeyText(const std::string& name) {
    showKeyName(item(kStatusKey), name);
}

void SetupWindow::closeDialog() {
    endModal(logic_->cancelled() ? IDCANCEL : IDOK);
}

bool SetupWindow::onCommand(int id, int code, HWND control) {
    if (!logic_)
        return false;
    if (id == kEngine && code == CBN_SELCHANGE) {
        if (!filling_) {
            const LRESULT index = SendMessageW(control, CB_GETCURSEL, 0, 0);
            std::wstring name(
                static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXTLEN, index, 0)), L'\0');
            SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
            logic_->engineSelected(utf8FromWide(name));
        }
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    if (id >= kMod0 && id < kMod0 + static_cast<int>(modButtons_.size())) {
        logic_->modClicked(id - kMod0);
        return true;
    }
    switch (id) {
    case kBrowse:
        logic_->browse();
        return true;
    case IDOK:
        logic_->ok();
        return true;
    case kCancelButton:
        logic_->cancel();
        return true;
    case IDCANCEL: // Escape and the title bar close nothing until OK or Cancel decided
        if (logic_->canClose())
            endModal(IDCANCEL);
        return true;
    default:
        return false;
    }
}

} // namespace hh::win32
