#pragma once
// Text across the Win32 boundary. Paths and names travel through the program
// as UTF-8; the game's own text is bytes in the system's ANSI code page. The
// wide-character calls take UTF-16.
#include <string>
#include <string_view>

namespace hh {

std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);
// Game text (clipboard, message boxes): the system's ANSI code page.
std::wstring wideFromGameText(std::string_view bytes);
std::string gameTextFromWide(std::wstring_view wide);

// Words for a Win32 error code ("The system cannot find the file specified.").
std::string systemErrorText(unsigned long error);

} // namespace hh
