#include "shell/win32/DialogWindow.h"

#include "platform/win32/WideText.h"

#include <commctrl.h>

#include <vector>

namespace hh::win32 {
namespace {

// DLGTEMPLATE, no menu, the default class, the caption and the font. The
// controls are not in it: build() creates them.
std::vector<WORD> dialogTemplate(const std::wstring& caption, int width, int height, DWORD style) {
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto text = [&t](const std::wstring& s) {
        t.insert(t.end(), s.begin(), s.end());
        t.push_back(0);
    };
    dword(style | DS_SETFONT);
    dword(0);       // extended style
    t.push_back(0); // no items
    t.push_back(0); // x, y: the system places the window
    t.push_back(0);
    t.push_back(static_cast<WORD>(width));
    t.push_back(static_cast<WORD>(height));
    t.push_back(0); // menu
    t.push_back(0); // class
    text(caption);
    t.push_back(8); // points
    text(L"MS Shell Dlg");
    return t;
}

} // namespace

DialogWindow::~DialogWindow() {
    if (window_ && !modal_) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

INT_PTR DialogWindow::runModal(HWND owner, const std::string& caption, int width, int height,
                               DWORD style) {
    modal_ = true;
    const auto t = dialogTemplate(wideFromUtf8(caption), width, height, style);
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()), owner, procedure,
        reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return result;
}

void DialogWindow::endModal(INT_PTR result) {
    EndDialog(window_, result);
}

bool DialogWindow::createModeless(HWND owner, const std::string& caption, int width, int height,
                                  DWORD style) {
    const auto t = dialogTemplate(wideFromUtf8(caption), width, height, style);
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                               reinterpret_cast<const DLGTEMPLATE*>(t.data()), owner, procedure,
                               reinterpret_cast<LPARAM>(this));
    return window_ != nullptr;
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
        self->build();
        return TRUE;
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_COMMAND &&
        self->onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
        return TRUE;
    LRESULT result = 0;
    if (!self->onMessage(message, wParam, lParam, result))
        return FALSE;
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

bool DialogWindow::onCommand(int, int, HWND) {
    return false;
}

bool DialogWindow::onMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

RECT DialogWindow::pixels(Box box) const {
    RECT r{box.x, box.y, box.x + box.w, box.y + box.h};
    MapDialogRect(window_, &r);
    return r;
}

void DialogWindow::place(HWND control, Box box) const {
    const RECT r = pixels(box);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND DialogWindow::add(const wchar_t* windowClass, const std::string& text, DWORD style, Box box,
                       int id, DWORD exStyle) {
    const RECT r = pixels(box);
    HWND control = CreateWindowExW(
        exStyle, windowClass, wideFromUtf8(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
        r.top, r.right - r.left, r.bottom - r.top, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(window_, WM_GETFONT, 0, 0), FALSE);
    return control;
}

HWND DialogWindow::addLabel(const std::string& text, Box box, int id) {
    return add(WC_STATICW, text, SS_LEFT, box, id);
}

HWND DialogWindow::addButton(const std::string& text, Box box, int id, DWORD style) {
    return add(WC_BUTTONW, text, WS_TABSTOP | style, box, id);
}

HWND DialogWindow::addGroup(const std::string& text, Box box) {
    return add(WC_BUTTONW, text, BS_GROUPBOX, box);
}

HWND DialogWindow::addEdit(Box box, int id, DWORD style) {
    return add(WC_EDITW, "", WS_TABSTOP | style, box, id, WS_EX_CLIENTEDGE);
}

HWND DialogWindow::addComboList(Box box, int id) {
    // The height includes the dropped-down list.
    return add(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
               {box.x, box.y, box.w, box.h * 8}, id);
}

} // namespace hh::win32
