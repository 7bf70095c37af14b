#pragma once
// frmSetup: the "Handlehound Setup" dialog's widgets. It closes only through
// OK (after a complete setup) or Cancel; SetupDialogLogic decides.
#include "setup/SetupDialog.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QVBoxLayout;

namespace hh {

class FrmMain;

class SetupWindow : public QDialog, public SetupView {
  public:
    SetupWindow(FrmMain& frm, Platform& platform, const std::string& home,
                QWidget* parent = nullptr);
    ~SetupWindow() override;
    bool cancelled() const { return logic_->cancelled(); }

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
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    std::unique_ptr<SetupDialogLogic> logic_;
    QLineEdit* txtPathToQ3_ = nullptr;
    QComboBox* cmbEngine_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QVBoxLayout* modLayout_ = nullptr;
    QButtonGroup* optMod_ = nullptr;
    QComboBox* keyLists_[2] = {};
    bool filling_ = false;
};

} // namespace hh
