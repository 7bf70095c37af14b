#include "shell/win32/ControlText.h"

#include "platform/win32/WideText.h"

namespace hh::win32 {
std::wstring wideText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

void setGameText(HWND control, const std::string& text) {
    SetWindowTextW(control, wideFromGameText(text).c_str());
}

std::string gameText(HWND control) {
    return gameTextFromWide(wideText(control));
}

void setPathText(HWND control, const std::string& utf8Path) {
    SetWindowTextW(control, wideFromUtf8(utf8Path).c_str());
}

std::string pathText(HWND control) {
    return utf8FromWide(wideText(control));
}

} // namespace hh::win32
