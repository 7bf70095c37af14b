#pragma once
// Text in and out of controls. The logic's texts are the game's 8-bit text
// (the system's ANSI code page); paths travel as UTF-8.
#include <windows.h>

#include <string>

namespace hh::win32 {

std::wstring wideText(HWND control);
// Edit controls break lines at CR LF only: a lone LF gets its CR.
std::string withCrLf(const std::string& text);
void setGameText(HWND control, const std::string& text);
std::string gameText(HWND control);
void setPathText(HWND control, const std::string& utf8Path);
std::string pathText(HWND control);

} // namespace hh::win32
