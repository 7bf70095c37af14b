#pragma once
// frmArrayViewer on Windows: the developer's view of the player table, and
// its edits by hand. Modeless; it holds no state of its own.
#include "shell/win32/DialogWindow.h"

namespace hh {
class PlayerTable;
class SoundPlayer;
} // namespace hh

namespace hh::win32 {

class ArrayViewer : public DialogWindow {
  public:
    ArrayViewer(PlayerTable& table, SoundPlayer& sound);
    // Shows both tables anew.
    void show(HWND owner);

  protected:
    void build() override;
    bool onCommand(int id, int code, HWND control) override;

  private:
    void showTable(int which);

    PlayerTable& table_;
    SoundPlayer& sound_;
};

} // namespace hh::win32
