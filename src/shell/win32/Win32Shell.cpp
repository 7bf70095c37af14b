#include "shell/win32/Win32Shell.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace hh::win32 {

// Failures are ignored: the player sees that nothing opened.
void Win32Shell::openFile(const std::string& path) {
    const std::wstring quoted = L"\"" + wideFromUtf8(path) + L"\"";
    ShellExecuteW(nullptr, L"open", L"wordpad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL);
}

void Win32Shell::openUrl(const std::string& url) {
    ShellExecuteW(nullptr, L"open", wideFromUtf8(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace hh::win32
