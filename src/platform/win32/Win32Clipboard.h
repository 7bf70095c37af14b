#pragma once
// The Windows clipboard, as Unicode text. Game text is bytes in the system's
// ANSI code page, as the game writes it.
#include "platform/Clipboard.h"
#include "platform/win32/MessageWindow.h"

namespace hh {

class Win32Clipboard : public Clipboard {
  public:
    Win32Clipboard() : owner_([](UINT, WPARAM, LPARAM) { return false; }) {}
    std::string text() const override;
    void setText(const std::string& text) override;

  private:
    // Setting data needs an owner window: without one Windows drops it.
    MessageWindow owner_;
};

} // namespace hh
