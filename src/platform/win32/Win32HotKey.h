#pragma once
// Ctrl + one key through RegisterHotKey, bound to a message-only window of
// the UI thread, whose message loop dispatches WM_HOTKEY to it.
#include "platform/HotKey.h"
#include "platform/win32/MessageWindow.h"

namespace hh {

class Win32HotKey : public HotKey {
  public:
    Win32HotKey();
    ~Win32HotKey() override { unregister(); }

    bool registerCtrlKey(std::uint32_t vkCode, std::function<void()> onPressed,
                         std::string* why) override;
    void unregister() override;
    bool isRegistered() const override { return registered_; }

  private:
    bool registered_ = false;
    std::function<void()> onPressed_;
    MessageWindow window_;
};

} // namespace hh
