#pragma once
// The Setup dialog without its widgets: it asks for the game folder (the
// engine's home path), the engine, the mod and the two game keys.
#include "common/HostSystem.h"
#include "settings/KeyNames.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hh {

struct Platform;
class Settings;
class GameScript;

struct ModChoice {
    std::string caption; // "&OSP"
    std::string folder;  // "osp"
};

class SetupView {
  public:
    virtual ~SetupView() = default;
    virtual std::string gameFolderText() const = 0;
    virtual void setGameFolderText(const std::string& path) = 0;
    virtual void enablePathCompletion() = 0;
    virtual void setEngineChoices(const std::vector<std::string>& profileNames) = 0;
    virtual void selectEngine(const std::string& profileName) = 0;
    virtual void setModChoices(const std::vector<ModChoice>& mods) = 0;
    virtual void selectMod(int index) = 0;
    virtual void fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) = 0;
    virtual std::string commandKeyText() const = 0;
    virtual void setCommandKeyText(const std::string& name) = 0;
    virtual std::string statusKeyText() const = 0;
    virtual void setStatusKeyText(const std::string& name) = 0;
    virtual void closeDialog() = 0;
};

class SetupDialogLogic {
  public:
    SetupDialogLogic(SetupView& view, Settings& settings, Platform& platform,
                     GameScript& gameScript,
                     std::function<void(const std::string&)> setDumpFileAbsPath,
                     std::function<void()> reregisterHotKey, std::string home,
                     HostSystem system = kHostSystem);

    void load();
    void modClicked(int index);
    void engineSelected(const std::string& profileName);
    void browse();
    void ok();
    void cancel(); // the caller then ends the program
    // The window refuses every other way of closing until OK or Cancel.
    bool canClose() const { return setupDone_; }
    bool cancelled() const { return cancelled_; }
    const std::string& selectedMod() const { return selectedMod_; }
    const std::string& selectedEngine() const { return selectedEngine_; }

  private:
    std::vector<ModChoice> modChoices() const;
    void offerMods(int selectedIndex);

    SetupView& view_;
    Settings& settings_;
    Platform& platform_;
    GameScript& gameScript_;
    std::function<void(const std::string&)> setDumpFileAbsPath_;
    std::function<void()> reregisterHotKey_;
    std::string home_;
    HostSystem system_; // where the game folder is looked for first
    std::string selectedMod_ = "osp";
    std::string selectedEngine_ = "ioquake3";
    bool setupDone_ = false;
    bool cancelled_ = false;
};

} // namespace hh
