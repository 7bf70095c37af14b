#include "shell/win32/OptionsWindow.h"

#include "platform/Platform.h"
#include "shell/FrmMain.h"
#include "shell/ViewTexts.h"
#include "shell/win32/ControlText.h"
#include "shell/win32/KeyNameList.h"

#include <commctrl.h>

#include <algorithm>

namespace hh::win32 {
namespace {

enum : int {
    kTabs = 100,
    kDelay0, // four option buttons
    kStartMinimized = kDelay0 + 4,
    kStartAtLogin,
    kNumAliases,
    kNameColor,
    kSeparatorColor,
    kCommandKey,
    kStatusKey,
    kWindowTitle,
    kBaseFolder,
    kDumpFileName,
    kApply,
};

// Posted when a key list lost the focus, so the check runs once the focus
// has arrived where it went.
constexpr UINT kCheckKeys = WM_APP + 20;

} // namespace

OptionsWindow::OptionsWindow(FrmMain& frm, Platform& platform) : frm_(frm), platform_(platform) {}

OptionsWindow::~OptionsWindow() {
    if (pageBrush_)
        DeleteObject(pageBrush_);
}

void OptionsWindow::takePageColour() {
    // A themed tab control paints its page in a colour of its theme, not the
    // dialog's: the labels, frames and check boxes on the page take that
    // colour, read from the tab control's own drawing.
    RECT area;
    GetClientRect(tabs_, &area);
    HDC screen = GetDC(tabs_);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(tabs_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                 PRF_CLIENT | PRF_ERASEBKGND);
    pageColour_ = GetPixel(memory, area.right / 2, area.bottom - 8);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(tabs_, screen);
    if (pageColour_ != CLR_INVALID && pageColour_ != GetSysColor(COLOR_BTNFACE))
        pageBrush_ = CreateSolidBrush(pageColour_);
}

void OptionsWindow::run(HWND owner) {
    runModal(owner, texts::kOptionsCaption, 262, 186);
}

void OptionsWindow::build() {
    tabs_ = add(WC_TABCONTROLW, "", WS_TABSTOP | WS_CLIPSIBLINGS, {7, 7, 248, 152}, kTabs);
    int index = 0;
    for (const char* name : {texts::kMainTab, texts::kBehaviorTab, texts::kEngineTab}) {
        std::wstring caption(name, name + std::char_traits<char>::length(name));
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = caption.data();
        SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                     reinterpret_cast<LPARAM>(&tab));
    }
    buildMainTab();
    buildBehaviorTab();
    buildEngineTab();
    addButton(texts::kOK, {95, 165, 50, 14}, IDOK, BS_DEFPUSHBUTTON);
    addButton(texts::kCancel, {150, 165, 50, 14}, IDCANCEL);
    addButton(texts::kApply, {205, 165, 50, 14}, kApply);
    takePageColour();
    // Below the pages' controls, or it would take their clicks.
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    logic_ = std::make_unique<OptionsDialogLogic>(
        *this, frm_.state(), frm_.settings(), platform_, frm_.gameScript(),
        [this] { frm_.reregisterHotKey(); }, [this] { frm_.keyCodesChanged(); });
    logic_->setDumpPathChanged([this](const std::string& path) { frm_.SetDumpFileAbsPath(path); });
    logic_->load();
}

HWND OptionsWindow::onPage(int page, HWND control) {
    pages_[page].push_back(control);
    return control;
}

void OptionsWindow::buildMainTab() {
    onPage(0, addGroup(texts::kIssueDelayFrame, {17, 28, 228, 30}));
    for (int i = 0; i < 4; ++i)
        onPage(0, addButton(texts::kDelayCaptions[i], {25 + i * 55, 40, 50, 12}, kDelay0 + i,
                            BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0)));
    onPage(0, addButton(texts::kMinimizeOnStartup, {17, 66, 228, 12}, kStartMinimized,
                        BS_AUTOCHECKBOX | WS_GROUP));
    onPage(0, addButton(texts::kStartAtLogin, {17, 82, 228, 12}, kStartAtLogin, BS_AUTOCHECKBOX));
}

void OptionsWindow::buildBehaviorTab() {
    onPage(1, addLabel(texts::kMaxAliases, {17, 29, 140, 9}));
    HWND numAliases = onPage(1, addEdit({160, 27, 40, 12}, kNumAliases));
    SendMessageW(numAliases, EM_LIMITTEXT, 6, 0);
    onPage(1, addGroup(texts::kColoursFrame, {17, 44, 228, 46}));
    const char* colourLabels[2] = {texts::kNameColor, texts::kSeparatorColor};
    for (int i = 0; i < 2; ++i) {
        onPage(1, addLabel(colourLabels[i], {27, 58 + i * 16, 80, 9}));
        HWND box = onPage(1, addEdit({110, 56 + i * 16, 16, 12}, kNameColor + i, ES_CENTER));
        SendMessageW(box, EM_LIMITTEXT, 1, 0);
        SetWindowSubclass(box, colourBoxProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    for (int i = 0; i < 2; ++i) {
        onPage(1, addLabel(texts::kOptionsKeyLabels[i], {17, 100 + i * 18, 90, 9}));
        onPage(1, addComboList({110, 98 + i * 18, 80, 12}, kCommandKey + i));
    }
}

void OptionsWindow::buildEngineTab() {
    const char* labels[3] = {texts::kGameWindowTitle, texts::kBaseFolder, texts::kDumpFileName};
    const int limits[3] = {255, 64, 64};
    for (int i = 0; i < 3; ++i) {
        onPage(2, addLabel(labels[i], {17, 29 + i * 18, 80, 9}));
        HWND edit = onPage(2, addEdit({100, 27 + i * 18, 145, 12}, kWindowTitle + i));
        SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(limits[i]), 0);
    }
}

void OptionsWindow::showTab(int page) {
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (int p = 0; p < 3; ++p)
        for (HWND control : pages_[p])
            ShowWindow(control, p == page ? SW_SHOW : SW_HIDE);
}

bool OptionsWindow::onCommand(int id, int code, HWND) {
    if (!logic_)
        return false;
    if ((id == kCommandKey || id == kStatusKey) && code == CBN_KILLFOCUS) {
        PostMessageW(window_, kCheckKeys, static_cast<WPARAM>(id), 0);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    if (id >= kDelay0 && id < kDelay0 + 4) {
        logic_->delayOptionClicked(id - kDelay0);
        return true;
    }
    switch (id) {
    case IDOK:
        if (logic_->applyOptions())
            endModal(IDOK);
        return true;
    case kApply:
        logic_->applyOptions();
        return true;
    case IDCANCEL:
        endModal(IDCANCEL);
        return true;
    default:
        return false;
    }
}

bool OptionsWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kCheckKeys) {
        checkKeysOnLeaving(static_cast<int>(wParam));
        return true;
    }
    if (message == WM_CTLCOLORSTATIC && pageBrush_) {
        const auto control = reinterpret_cast<HWND>(lParam);
        for (const auto& page : pages_)
            if (std::find(page.begin(), page.end(), control) != page.end()) {
                SetBkColor(reinterpret_cast<HDC>(wParam), pageColour_);
                result = reinterpret_cast<LRESULT>(pageBrush_);
                return true;
            }
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
            showTab(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
            return true;
        }
    }
    return false;
}

void OptionsWindow::checkKeysOnLeaving(int list) {
    // Leaving a key list while both name the same key is refused: the
    // message, and the focus goes back to the list it tried to leave.
    // Cancel, another window or the list itself are no leaving.
    HWND focus = GetFocus();
    if (!focus || focus == item(list) || focus == item(IDCANCEL) || !IsChild(window_, focus))
        return;
    if (refuseEqualKeys(commandKeyText(), statusKeyText(), platform_))
        SetFocus(item(list));
}

LRESULT CALLBACK OptionsWindow::colourBoxProcedure(HWND box, UINT message, WPARAM wParam,
                                                   LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (message == WM_SETFOCUS) {
        const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        SendMessageW(box, EM_SETSEL, 0, 1);
        return result;
    }
    // Control characters other than Backspace (Ctrl+C, Ctrl+V) keep their
    // usual meaning; Delete arrives as a key, not a character.
    if (message == WM_CHAR && (wParam >= 0x20 || wParam == '\b')) {
        const char typed = wParam < 0x100 ? static_cast<char>(wParam) : '?';
        const ColourKeyOutcome outcome = colourBoxKey(gameText(box), typed);
        if (outcome.accepted)
            setGameText(box, outcome.text);
        else
            reinterpret_cast<OptionsWindow*>(self)->platform_.sound.beep();
        SendMessageW(box, EM_SETSEL, 0, 1);
        return 0;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

std::string OptionsWindow::numAliasesText() const {
    return gameText(item(kNumAliases));
}
void OptionsWindow::setNumAliasesText(const std::string& text) {
    setGameText(item(kNumAliases), text);
}
bool OptionsWindow::startMinimized() const {
    return IsDlgButtonChecked(window_, kStartMinimized) == BST_CHECKED;
}
void OptionsWindow::setStartMinimized(bool checked) {
    CheckDlgButton(window_, kStartMinimized, checked ? BST_CHECKED : BST_UNCHECKED);
}
bool OptionsWindow::startAtLogin() const {
    return IsDlgButtonChecked(window_, kStartAtLogin) == BST_CHECKED;
}
void OptionsWindow::setStartAtLogin(bool checked, bool offered) {
    CheckDlgButton(window_, kStartAtLogin, checked ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(item(kStartAtLogin), offered);
}
std::string OptionsWindow::nameColorDigit() const {
    return gameText(item(kNameColor));
}
void OptionsWindow::setNameColorDigit(const std::string& digit) {
    setGameText(item(kNameColor), digit);
}
std::string OptionsWindow::sepColorDigit() const {
    return gameText(item(kSeparatorColor));
}
void OptionsWindow::setSepColorDigit(const std::string& digit) {
    setGameText(item(kSeparatorColor), digit);
}
void OptionsWindow::fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) {
    fillKeyNameList(item(kCommandKey), names);
    fillKeyNameList(item(kStatusKey), names);
}
std::string OptionsWindow::commandKeyText() const {
    return keyNameShown(item(kCommandKey));
}
void OptionsWindow::setCommandKeyText(const std::string& name) {
    showKeyName(item(kCommandKey), name);
}
std::string OptionsWindow::statusKeyText() const {
    return keyNameShown(item(kStatusKey));
}
void OptionsWindow::setStatusKeyText(const std::string& name) {
    showKeyName(item(kStatusKey), name);
}
void OptionsWindow::selectDelayOption(std::optional<int> index) {
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(window_, kDelay0 + i, index && *index == i ? BST_CHECKED : BST_UNCHECKED);
}
std::string OptionsWindow::gameWindowTitle() const {
    return gameText(item(kWindowTitle));
}
void OptionsWindow::setGameWindowTitle(const std::string& title) {
    setGameText(item(kWindowTitle), title);
}
std::string OptionsWindow::baseFolder() const {
    return gameText(item(kBaseFolder));
}
void OptionsWindow::setBaseFolder(const std::string& folder) {
    setGameText(item(kBaseFolder), folder);
}
std::string OptionsWindow::dumpFileName() const {
    return gameText(item(kDumpFileName));
}
void OptionsWindow::setDumpFileName(const std::string& name) {
    setGameText(item(kDumpFileName), name);
}

} // namespace hh::win32
