#pragma once
// frmSetup on Windows: the "Handlehound Setup" dialog's controls. It closes
// only through OK (after a complete setup) or Cancel; SetupDialogLogic
// decides.
#include "setup/SetupDialog.h"
#include "shell/win32/DialogWindow.h"

#include <memory>
#include <vector>

namespace hh {
class FrmMain;
}

namespace hh::win32 {

class SetupWindow : public DialogWindow, public SetupView {
  public:
    SetupWindow(FrmMain& frm, Platform& platform, std::string home);
    ~SetupWindow() override;
    // Modal; true when the setup was done, false when it was cancelled.
    bool run(HWND owner);

    // SetupView
    std::string gameFolderText() const override;
    void setGameFolderText(const std::string& path) override;
    void enablePathCompletion() override;
    void setEngineChoices(const std::vector<std::string>& profileNames) override;
    void selectEngine(const std::string& profileName) override;
    void setModChoices(const std::vector<ModChoice>& mods) override;
    void selectMod(int index) override;
    void fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) override;
    std::string commandKeyText() const override;
    void setCommandKeyText(const std::string& name) override;
    std::string statusKeyText() const override;
    void setStatusKeyText(const std::string& name) override;
    void closeDialog() override;

  protected:
    void build() override;
    bool onCommand(int id, int code, HWND control) override;

  private:
    FrmMain& frm_;
    Platform& platform_;
    std::string home_;
    std::unique_ptr<SetupDialogLogic> logic_;
    std::vector<HWND> modButtons_;
    bool filling_ = false;
};

} // namespace hh::win32
