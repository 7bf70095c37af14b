#pragma once
// frmAbout on Windows: maker, version and contact links.
#include "shell/win32/DialogWindow.h"

#include <filesystem>

namespace hh {
class Shell;
}

namespace hh::win32 {

class AboutBox : public DialogWindow {
  public:
    AboutBox(Shell& shell, std::filesystem::path programDir);
    ~AboutBox() override;
    void run(HWND owner); // modal

  protected:
    void build() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    Shell& shell_;
    std::filesystem::path programDir_;
    HICON picture_ = nullptr;
};

} // namespace hh::win32
