#pragma once
#include <cstdint>
#include <string>

namespace hh {

using WindowId = std::uint64_t; // 0 means "no window"

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    // Top-level window whose title is exactly `title`, or 0.
    virtual WindowId findWindowByTitle(const std::string& title) = 0;
    // The window in front, or 0 while none is (window managers report none
    // for a moment while switching).
    virtual WindowId foregroundWindow() = 0;
    // The program's own main window, or 0 when it has none (headless).
    virtual WindowId mainWindow() = 0;
};

} // namespace hh
