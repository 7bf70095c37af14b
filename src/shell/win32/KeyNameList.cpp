#include "shell/win32/KeyNameList.h"

#include "platform/win32/WideText.h"

namespace hh::win32 {
namespace {

std::wstring itemText(HWND list, LRESULT index) {
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

} // namespace

void fillKeyNameList(HWND list, const std::array<std::string_view, kKeyNameCount>& names) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::string_view name : names)
        SendMessageW(list, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wideFromGameText(std::string(name)).c_str()));
}

void showKeyName(HWND list, const std::string& name) {
    // Exact comparison: CB_FINDSTRINGEXACT ignores case.
    const std::wstring wanted = wideFromGameText(name);
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    LRESULT found = -1;
    for (LRESULT i = 0; i < count && found < 0; ++i)
        if (itemText(list, i) == wanted)
            found = i;
    if (found < 0) {
        SendMessageW(list, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(wanted.c_str()));
        found = 0;
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

std::string keyNameShown(HWND list) {
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::string() : gameTextFromWide(itemText(list, selected));
}

} // namespace hh::win32
