#pragma once
// Every window of the Windows desktop is a dialog made from a template built
// in memory, with its controls created in code at places given in dialog
// units. Dialog units follow the dialog font, so the layouts hold at any DPI
// and font size, and the dialog manager brings Tab, mnemonics, the default
// button and Escape without code of our own.
#include <windows.h>

#include <string>

namespace hh::win32 {

// A place in dialog units.
struct Box {
    int x, y, w, h;
};

class DialogWindow {
  public:
    DialogWindow() = default;
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND handle() const { return window_; }

  protected:
    // Shows the dialog and returns when endModal() was called.
    INT_PTR runModal(HWND owner, const std::string& caption, int width, int height,
                     DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    void endModal(INT_PTR result);
    // Creates the window hidden; the thread's message loop serves it.
    bool createModeless(HWND owner, const std::string& caption, int width, int height, DWORD style);

    // WM_INITDIALOG: create the controls.
    virtual void build() = 0;
    // WM_COMMAND; true when handled.
    virtual bool onCommand(int id, int code, HWND control);
    // Any other message; true when handled, with `result` the answer.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // A child control; text is UTF-8 (captions) and the font is the dialog's.
    HWND add(const wchar_t* windowClass, const std::string& text, DWORD style, Box box, int id = 0,
             DWORD exStyle = 0);
    HWND addLabel(const std::string& text, Box box, int id = 0);
    HWND addButton(const std::string& text, Box box, int id, DWORD style = BS_PUSHBUTTON);
    HWND addGroup(const std::string& text, Box box);
    HWND addEdit(Box box, int id, DWORD style = ES_AUTOHSCROLL);
    HWND addComboList(Box box, int id);

    HWND item(int id) const { return GetDlgItem(window_, id); }
    RECT pixels(Box box) const;
    void place(HWND control, Box box) const;

    HWND window_ = nullptr;

  private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool modal_ = false;
};

} // namespace hh::win32
