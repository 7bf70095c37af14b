#include "setup/SetupDialog.h"

#include "common/PathText.h"
#include "gamelink/EngineProfiles.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "setup/GameFolders.h"
#include "setup/SetupSteps.h"

#include <filesystem>
#include <system_error>

namespace hh {
namespace {

const std::vector<ModChoice>& supportedMods() {
    static const std::vector<ModChoice> mods = {{"&OSP", "osp"},
                                                {"&Rocket Arena 3", "arena"},
                                                {"&Threewave", "threewave"},
                                                {"&Urban Terror 2", "q3ut2"}};
    return mods;
}

const EngineProfile& profileNamed(const std::string& name) {
    const EngineProfile* profile = findEngineProfile(name);
    return profile ? *profile : *findEngineProfile("ioquake3");
}

bool holdsFolder(const std::string& folder, const std::string& name) {
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(pathOf(folder + name), ec);
}

} // namespace

SetupDialogLogic::SetupDialogLogic(SetupView& view, Settings& settings, Platform& platform,
                                   GameScript& gameScript,
                                   std::function<void(const std::string&)> setDumpFileAbsPath,
                                   std::function<void()> reregisterHotKey, std::string home,
                                   HostSystem system)
    : view_(view), settings_(settings), platform_(platform), gameScript_(gameScript),
      setDumpFileAbsPath_(std::move(setDumpFileAbsPath)),
      reregisterHotKey_(std::move(reregisterHotKey)), home_(std::move(home)), system_(system) {}

// The supported mods, then the engine's base folder: players of engines
// without mods watch the base game.
std::vector<ModChoice> SetupDialogLogic::modChoices() const {
    auto mods = supportedMods();
    const std::string base = profileNamed(selectedEngine_).baseFolder;
    mods.push_back({"&Base game (" + base + ")", base});
    return mods;
}

void SetupDialogLogic::offerMods(int selectedIndex) {
    view_.setModChoices(modChoices());
    view_.selectMod(selectedIndex);
    modClicked(selectedIndex);
}

void SetupDialogLogic::load() {
    const std::string folder = detectGameFolder(home_, system_);
    view_.setGameFolderText(folder);
    const EngineProfile* guessed = folder.empty() ? nullptr : guessEngineProfile(folder, system_);
    selectedEngine_ = guessed ? guessed->name : defaultEngineProfile(system_).name;
    std::vector<std::string> names;
    for (const auto& profile : engineProfiles())
        names.push_back(profile.name);
    view_.setEngineChoices(names);
    view_.selectEngine(selectedEngine_);
    // OSP first, as always; a game folder without it offers the base game.
    const bool baseInstead = !holdsFolder(folder, "osp") &&
                             holdsFolder(folder, profileNamed(selectedEngine_).baseFolder);
    offerMods(baseInstead ? static_cast<int>(supportedMods().size()) : 0);
    view_.fillKeyNameLists(keyNameList());
    view_.setCommandKeyText(settings_.commandKey());
    view_.setStatusKeyText(settings_.statusKey());
    view_.enablePathCompletion();
}

void SetupDialogLogic::modClicked(int index) {
    const auto mods = modChoices();
    if (index >= 0 && static_cast<std::size_t>(index) < mods.size())
        selectedMod_ = mods[static_cast<std::size_t>(index)].folder;
}

void SetupDialogLogic::engineSelected(const std::string& profileName) {
    if (!findEngineProfile(profileName))
        return;
    const bool baseGame = selectedMod_ == profileNamed(selectedEngine_).baseFolder;
    selectedEngine_ = profileName;
    // The base-game button follows the engine; a mod stays chosen.
    const auto& mods = supportedMods();
    int index = baseGame ? static_cast<int>(mods.size()) : 0;
    for (std::size_t i = 0; i < mods.size(); ++i)
        if (mods[i].folder == selectedMod_)
            index = static_cast<int>(i);
    offerMods(index);
}

void SetupDialogLogic::browse() {
    const std::string base = profileNamed(selectedEngine_).baseFolder;
    const std::string typed = view_.gameFolderText();
    for (;;) {
        const auto chosen = platform_.dialogs.openFile(
            "Path to your game folder (e.g. ~/.q3a/" + base + "/q3config.cfg)", "*.cfg *.pk3",
            typed.empty() ? home_ : expandHome(typed, home_));
        if (!chosen)
            return;
        const std::string folder = gameFolderAbove(*chosen, base);
        if (!folder.empty()) {
            view_.setGameFolderText(folder);
            return;
        }
        platform_.dialogs.messageBox("Error!  '" + base +
                                         "' not found. Please Open a file in your game folder.",
                                     MessageIcon::Exclamation);
    }
}

void SetupDialogLogic::ok() {
    const SetupChoice choice{expandHome(view_.gameFolderText(), home_), selectedMod_,
                             &profileNamed(selectedEngine_), view_.commandKeyText(),
                             view_.statusKeyText()};
    const SetupOutcome outcome = runSetupSteps(
        choice, {settings_, platform_, gameScript_, setDumpFileAbsPath_, reregisterHotKey_});
    if (!outcome.done) {
        platform_.dialogs.messageBox(outcome.message, MessageIcon::Exclamation);
        return;
    }
    setupDone_ = true;
    view_.closeDialog();
}

void SetupDialogLogic::cancel() {
    setupDone_ = true;
    cancelled_ = true;
    view_.closeDialog();
}

} // namespace hh
