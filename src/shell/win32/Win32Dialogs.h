#pragma once
// Message boxes, the input box and the file-open dialog of the Windows
// desktop, modal to the program's active window.
#include "platform/Dialogs.h"

#include <windows.h>

namespace hh::win32 {

class Win32Dialogs : public Dialogs {
  public:
    // The window that owns the boxes while none of ours is active.
    void setOwner(HWND owner) { owner_ = owner; }

    void messageBox(const std::string& text, MessageIcon icon) override;
    std::optional<std::string> inputBox(const std::string& title,
                                        const std::string& prompt) override;
    // `filter` as "Name (*.a *.b);;Other (*)" or plain "*.a *.b".
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& initialDir) override;

  private:
    HWND owner() const;
    HWND owner_ = nullptr;
};

// The filter in the file-open dialog's form: name NUL patterns NUL ... NUL.
std::wstring openFileFilter(const std::string& filter);

} // namespace hh::win32
