#include "platform/win32/Win32HotKey.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace hh {
namespace {

constexpr int kHotKeyId = 0;
constexpr const char* kWindowClass = "HandlehoundHotKeyWindow";

LRESULT CALLBACK hotKeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY && (wParam & 0xFF) == kHotKeyId) {
        if (auto* owner = reinterpret_cast<Win32HotKey*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            owner->fire();
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createMessageWindow(Win32HotKey* owner) {
    static const ATOM windowClass = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = hotKeyWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kWindowClass;
        return RegisterClassA(&wc);
    }();
    if (!windowClass)
        return nullptr;
    HWND window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (window)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

} // namespace

Win32HotKey::Win32HotKey() : window_(createMessageWindow(this)) {}

Win32HotKey::~Win32HotKey() {
    unregister();
    if (window_)
        DestroyWindow(static_cast<HWND>(window_));
}

bool Win32HotKey::registerCtrlKey(std::uint32_t vkCode, std::function<void()> onPressed,
                                  std::string* why) {
    unregister();
    if (!window_) {
        if (why)
            *why = "the hot key window could not be created";
        return false;
    }
    if (vkCode == 0 || vkCode > 0xFE) {
        if (why)
            *why = "no key has the code " + std::to_string(vkCode);
        return false;
    }
    if (!RegisterHotKey(static_cast<HWND>(window_), kHotKeyId, MOD_CONTROL | MOD_NOREPEAT,
                        vkCode)) {
        const DWORD error = GetLastError();
        if (why)
            *why = error == ERROR_HOTKEY_ALREADY_REGISTERED
                       ? "another program already uses this combination"
                       : "Windows refused the hot key (error " + std::to_string(error) + ")";
        return false;
    }
    onPressed_ = std::move(onPressed);
    registered_ = true;
    return true;
}

void Win32HotKey::unregister() {
    if (registered_)
        UnregisterHotKey(static_cast<HWND>(window_), kHotKeyId);
    registered_ = false;
    onPressed_ = nullptr;
}

void Win32HotKey::fire() {
    if (auto onPressed = onPressed_) // a copy: the callback may re-register
        onPressed();
}

} // namespace hh
