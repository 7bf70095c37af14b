#include "shell/win32/AboutBox.h"

#include "platform/Shell.h"
#include "shell/ViewTexts.h"
#include "shell/win32/Icons.h"

#include <commctrl.h>

#include <iterator>

namespace hh::win32 {
namespace {

constexpr int kFirstLink = 100; // one id per link, in kAboutLinks order

} // namespace

AboutBox::AboutBox(Shell& shell, std::filesystem::path programDir)
    : shell_(shell), programDir_(std::move(programDir)) {}

AboutBox::~AboutBox() {
    if (picture_)
        DestroyIcon(picture_);
}

void AboutBox::run(HWND owner) {
    runModal(owner, aboutCaption(), 230, 140);
}

void AboutBox::build() {
    picture_ = loadIconFile(programDir_ / "Icons" / "Handlehound_Enabled.ico", 48);
    HWND picture = add(WC_STATICW, "", SS_ICON, {7, 7, 32, 32});
    if (picture_) // a missing icon file shows nothing
        SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(picture_), 0);
    addLabel(aboutCaption(), {48, 7, 175, 9});
    addLabel(aboutVersion(), {48, 19, 175, 9});
    addLabel(texts::kAuthorLine, {48, 31, 175, 9});
    addLabel(texts::kReleaseLine, {48, 43, 175, 9});
    addLabel(texts::kContactInformation, {48, 59, 175, 9});
    int y = 71;
    int id = kFirstLink;
    for (const auto& link : texts::kAboutLinks) {
        addLabel(link.caption, {48, y, 50, 9});
        add(WC_LINK, std::string("<a>") + link.shown + "</a>", WS_TABSTOP, {100, y, 123, 9}, id++);
        y += 12;
    }
    addButton(texts::kOK, {173, 119, 50, 14}, IDOK, BS_DEFPUSHBUTTON);
}

bool AboutBox::onCommand(int id, int, HWND) {
    if (id != IDOK && id != IDCANCEL)
        return false;
    endModal(id);
    return true;
}

bool AboutBox::onMessage(UINT message, WPARAM, LPARAM lParam, LRESULT&) {
    if (message != WM_NOTIFY)
        return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const auto index = static_cast<std::size_t>(header->idFrom - kFirstLink);
    if ((header->code != NM_CLICK && header->code != NM_RETURN) ||
        index >= std::size(texts::kAboutLinks))
        return false;
    shell_.openUrl(texts::kAboutLinks[index].url);
    return true;
}

} // namespace hh::win32
