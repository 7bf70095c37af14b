#pragma once
// Game window by exact title and the foreground window, through user32.
#include "platform/WindowSystem.h"

namespace hh {

class Win32WindowSystem : public WindowSystem {
  public:
    WindowId findWindowByTitle(const std::string& title) override;
    WindowId foregroundWindow() override;
    WindowId mainWindow() override { return mainWindow_; }
    void setMainWindow(WindowId id) { mainWindow_ = id; }

  private:
    WindowId mainWindow_ = 0;
};

} // namespace hh
