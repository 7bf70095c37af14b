#pragma once

namespace hh {

// The key observer as the dump watcher switches it (installed while the game
// or the main window is in front).
class KeyboardHookControl {
  public:
    virtual ~KeyboardHookControl() = default;
    virtual void hookKeyboard() = 0;
    virtual void unhookKeyboard() = 0;
};

} // namespace hh
