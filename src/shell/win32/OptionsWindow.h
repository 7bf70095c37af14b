#pragma once
// frmOptions on Windows: the "Handle Hound Options" dialog's controls.
// Loading, storing and the rules of its controls are OptionsDialogLogic's.
#include "setup/OptionsDialog.h"
#include "shell/win32/DialogWindow.h"

#include <memory>
#include <vector>

namespace hh {
class FrmMain;
}

namespace hh::win32 {

class OptionsWindow : public DialogWindow, public OptionsView {
  public:
    OptionsWindow(FrmMain& frm, Platform& platform);
    ~OptionsWindow() override;
    // Modal; returns when OK or Cancel closed it.
    void run(HWND owner);

    // OptionsView
    void showMainTab() override { showTab(0); }
    std::string numAliasesText() const override;
    void setNumAliasesText(const std::string& text) override;
    bool startMinimized() const override;
    void setStartMinimized(bool checked) override;
    bool startAtLogin() const override;
    void setStartAtLogin(bool checked, bool offered) override;
    std::string nameColorDigit() const override;
    void setNameColorDigit(const std::string& digit) override;
    std::string sepColorDigit() const override;
    void setSepColorDigit(const std::string& digit) override;
    void fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) override;
    std::string commandKeyText() const override;
    void setCommandKeyText(const std::string& name) override;
    std::string statusKeyText() const override;
    void setStatusKeyText(const std::string& name) override;
    void selectDelayOption(std::optional<int> index) override;
    std::string gameWindowTitle() const override;
    void setGameWindowTitle(const std::string& title) override;
    std::string baseFolder() const override;
    void setBaseFolder(const std::string& folder) override;
    std::string dumpFileName() const override;
    void setDumpFileName(const std::string& name) override;

  protected:
    void build() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void buildMainTab();
    void buildBehaviorTab();
    void buildEngineTab();
    HWND onPage(int page, HWND control);
    void showTab(int page);
    void checkKeysOnLeaving(int list);
    void takePageColour();
    static LRESULT CALLBACK colourBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR self);

    FrmMain& frm_;
    Platform& platform_;
    std::unique_ptr<OptionsDialogLogic> logic_;
    HWND tabs_ = nullptr;
    std::vector<HWND> pages_[3];
    COLORREF pageColour_ = 0;
    HBRUSH pageBrush_ = nullptr;
};

} // namespace hh::win32
