#include "platform/win32/WideText.h"

#include <windows.h>

namespace hh {
namespace {

std::wstring toWide(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string fromWide(UINT codePage, std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

} // namespace

std::wstring wideFromUtf8(std::string_view utf8) {
    return toWide(CP_UTF8, utf8);
}
std::string utf8FromWide(std::wstring_view wide) {
    return fromWide(CP_UTF8, wide);
}
std::wstring wideFromGameText(std::string_view bytes) {
    return toWide(CP_ACP, bytes);
}
std::string gameTextFromWide(std::wstring_view wide) {
    return fromWide(CP_ACP, wide);
}

std::string systemErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring words = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!words.empty() &&
           (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' '))
        words.pop_back();
    return words.empty() ? "error " + std::to_string(error) : utf8FromWide(words);
}

} // namespace hh
