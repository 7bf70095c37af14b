#pragma once
// frmOptions: the "Handle Hound Options" dialog's widgets. Loading, storing
// and the rules of its controls are OptionsDialogLogic's.
#include "setup/OptionsDialog.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace hh {

struct Platform;
class FrmMain;

class OptionsWindow : public QDialog, public OptionsView {
  public:
    OptionsWindow(FrmMain& frm, Platform& platform, QWidget* parent = nullptr);
    ~OptionsWindow() override;

    // OptionsView
    void showMainTab() override;
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
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildMainTab();
    QWidget* buildBehaviorTab();
    QWidget* buildEngineTab();

    Platform& platform_;
    std::unique_ptr<OptionsDialogLogic> logic_;
    QTabWidget* tabs_ = nullptr;
    QRadioButton* delay_[4] = {};
    QCheckBox* chkStartMinimized_ = nullptr;
    QCheckBox* chkStartAtLogin_ = nullptr;
    QLineEdit* txtNumAliases_ = nullptr;
    QLineEdit* txtNameColor_ = nullptr;
    QLineEdit* txtSeparatorColor_ = nullptr;
    QComboBox* keyLists_[2] = {};
    QLineEdit* txtWindowTitle_ = nullptr;
    QLineEdit* txtBaseFolder_ = nullptr;
    QLineEdit* txtDumpFileName_ = nullptr;
};

} // namespace hh
