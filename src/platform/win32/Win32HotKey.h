#pragma once
// Ctrl + one key through RegisterHotKey, bound to a message-only window of
// the UI thread, whose message loop (Qt's) dispatches WM_HOTKEY to it.
#include "platform/HotKey.h"

namespace hh {

class Win32HotKey : public HotKey {
  public:
    Win32HotKey();
    ~Win32HotKey() override;

    bool registerCtrlKey(std::uint32_t vkCode, std::function<void()> onPressed,
                         std::string* why) override;
    void unregister() override;
    bool isRegistered() const override { return registered_; }

    void fire(); // from the window procedure

  private:
    void* window_ = nullptr; // HWND
    bool registered_ = false;
    std::function<void()> onPressed_;
};

} // namespace hh
