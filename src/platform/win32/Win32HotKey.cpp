#include "platform/win32/Win32HotKey.h"

#include <string>

namespace hh {
namespace {

constexpr int kHotKeyId = 1;

} // namespace

Win32HotKey::Win32HotKey()
    : window_([this](UINT message, WPARAM wParam, LPARAM) {
          if (message != WM_HOTKEY || wParam != kHotKeyId)
              return false;
          if (auto onPressed = onPressed_) // a copy: the callback may re-register
              onPressed();
          return true;
      }) {}

bool Win32HotKey::registerCtrlKey(std::uint32_t vkCode, std::function<void()> onPressed,
                                  std::string* why) {
    unregister();
    if (!window_.handle()) {
        if (why)
            *why = "the hot key window could not be created";
        return false;
    }
    if (vkCode == 0 || vkCode > 0xFE) {
        if (why)
            *why = "no key has the code " + std::to_string(vkCode);
        return false;
    }
    if (!RegisterHotKey(window_.handle(), kHotKeyId, MOD_CONTROL | MOD_NOREPEAT, vkCode)) {
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
        UnregisterHotKey(window_.handle(), kHotKeyId);
    registered_ = false;
    onPressed_ = nullptr;
}

} // namespace hh
