#include "platform/win32/Win32Clipboard.h"

#include "platform/win32/WideText.h"

#include <cstring>

namespace hh {
namespace {

// Another program may hold the clipboard open for a moment.
bool openClipboard(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(2);
    }
    return false;
}

} // namespace

std::string Win32Clipboard::text() const {
    if (!openClipboard(owner_.handle()))
        return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = gameTextFromWide(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void Win32Clipboard::setText(const std::string& text) {
    if (!openClipboard(owner_.handle()))
        return;
    EmptyClipboard();
    const std::wstring wide = wideFromGameText(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

} // namespace hh
