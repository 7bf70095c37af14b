#include "shell/win32/Win32Dialogs.h"

#include "platform/win32/WideText.h"
#include "shell/ViewTexts.h"
#include "shell/win32/ControlText.h"
#include "shell/win32/DialogWindow.h"

#include <commdlg.h>

#include <string_view>

namespace hh::win32 {
namespace {

UINT iconFlags(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Exclamation:
        return MB_ICONWARNING;
    case MessageIcon::Critical:
        return MB_ICONERROR;
    case MessageIcon::None:
        break;
    }
    return 0;
}

class InputBox : public DialogWindow {
  public:
    InputBox(std::string title, std::string prompt)
        : title_(std::move(title)), prompt_(std::move(prompt)) {}

    std::optional<std::string> run(HWND owner) {
        if (runModal(owner, title_, 220, 78) != IDOK)
            return std::nullopt;
        return answer_;
    }

  protected:
    void build() override {
        addLabel(prompt_, {7, 7, 206, 26});
        SendMessageW(addEdit({7, 37, 206, 14}, kAnswer), EM_LIMITTEXT, 255, 0);
        addButton(texts::kOK, {108, 57, 50, 14}, IDOK, BS_DEFPUSHBUTTON);
        addButton(texts::kCancel, {163, 57, 50, 14}, IDCANCEL);
        SetFocus(item(kAnswer));
    }
    bool onCommand(int id, int, HWND) override {
        if (id == IDOK)
            answer_ = gameText(item(kAnswer));
        if (id != IDOK && id != IDCANCEL)
            return false;
        endModal(id);
        return true;
    }

  private:
    static constexpr int kAnswer = 100;
    std::string title_, prompt_, answer_;
};

} // namespace

HWND Win32Dialogs::owner() const {
    HWND active = GetActiveWindow(); // ours only: another thread's is null
    return active ? active : owner_;
}

void Win32Dialogs::messageBox(const std::string& text, MessageIcon icon) {
    MessageBoxW(owner(), wideFromGameText(text).c_str(), L"Handlehound",
                MB_OK | MB_SETFOREGROUND | iconFlags(icon));
}

std::optional<std::string> Win32Dialogs::inputBox(const std::string& title,
                                                  const std::string& prompt) {
    InputBox box(title, prompt);
    return box.run(owner());
}

std::wstring openFileFilter(const std::string& filter) {
    std::wstring out;
    std::string_view rest = filter;
    while (!rest.empty()) {
        const std::size_t end = rest.find(";;");
        const std::string_view entry = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        std::string patterns(entry);
        const std::size_t open = entry.rfind('(');
        const std::size_t close = entry.rfind(')');
        if (open != std::string_view::npos && close != std::string_view::npos && open < close)
            patterns = std::string(entry.substr(open + 1, close - open - 1));
        for (char& c : patterns)
            if (c == ' ')
                c = ';';
        out += wideFromUtf8(entry);
        out += L'\0';
        out += wideFromUtf8(patterns);
        out += L'\0';
    }
    return out + L'\0';
}

std::optional<std::string> Win32Dialogs::openFile(const std::string& title,
                                                  const std::string& filter,
                                                  const std::string& initialDir) {
    const std::wstring wideTitle = wideFromUtf8(title);
    const std::wstring wideFilter = openFileFilter(filter);
    std::wstring folder = wideFromUtf8(initialDir);
    for (wchar_t& c : folder)
        if (c == L'/')
            c = L'\\';
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner();
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return utf8FromWide(file);
}

} // namespace hh::win32
