#include "setup/SetupSteps.h"

#include "common/PathText.h"
#include "common/Strings.h"
#include "gamelink/EngineProfiles.h"
#include "gamelink/GameScript.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/KeyNames.h"
#include "settings/Settings.h"
#include "setup/GameFolders.h"

#include <filesystem>
#include <system_error>

namespace hh {
namespace {

bool isFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(pathOf(path), ec);
}

SetupOutcome refused(std::string message) {
    return {false, std::move(message), {}};
}

SetupOutcome unexpected(const std::string& description) {
    return refused(description +
                   "\r\nPlease report 'error in cmdOK()' to the author of Handlehound.");
}

// Stores a key's name when it changed (rebinding it in the script first) and
// its code in every case, so a first run that keeps the offered keys has
// working codes too. Returns whether the name changed.
bool storeKey(const SetupServices& services, const std::string& chosen, bool command) {
    Settings& settings = services.settings;
    std::string oldKey = command ? settings.commandKey() : settings.statusKey();
    std::string newKey = toLower(chosen);
    const bool changed = newKey != oldKey;
    if (changed) {
        services.gameScript.changeKeyBinding(oldKey, newKey);
        command ? settings.setCommandKey(newKey) : settings.setStatusKey(newKey);
    }
    const std::int32_t code = keyNameToCode(chosen, &services.platform.dialogs);
    command ? settings.setCommandKeyCode(code) : settings.setStatusKeyCode(code);
    return changed;
}

} // namespace

SetupOutcome runSetupSteps(const SetupChoice& choice, const SetupServices& services) {
    const EngineProfile& profile = choice.profile ? *choice.profile : defaultEngineProfile();
    const std::string folder = withTrailingSlash(choice.gameFolder);
    if (folder.empty() || !isFolder(folder + profile.baseFolder))
        return refused("Error! The game folder was NOT Found at Path '" + folder +
                       "'. Please Enter the Correct Path to your game folder.");
    if (!safeScriptWord(choice.mod) || !isPlainFolderName(choice.mod) ||
        !isFolder(folder + choice.mod))
        return refused("You do NOT have the '" + choice.mod +
                       "' mod installed. Please choose a different mod to continue.");
    if (choice.commandKey == choice.statusKey)
        return refused(kEqualKeysMessage);

    const std::string dumpPath = folder + choice.mod + "/" + profile.dumpFileName;
    if (!ensureFileExists(pathOf(dumpPath)))
        return unexpected("The dump file '" + dumpPath + "' could not be created.");
    services.settings.setPath(dumpPath);
    if (services.setDumpFileAbsPath)
        services.setDumpFileAbsPath(dumpPath);
    // Before the installation: it needs the engine's base folder and dump name.
    applyEngineProfile(services.settings, profile);
    bool installed = false;
    if (services.settings.cfgAt().empty()) {
        std::string why;
        installed = services.gameScript.installGameScript(&why);
        // A missing shipped script has been reported already; the setup goes on.
        if (!installed && !why.empty())
            return unexpected("The game-side script could not be installed: " + why);
    }
    if (storeKey(services, choice.commandKey, true) && services.reregisterHotKey)
        services.reregisterHotKey();
    storeKey(services, choice.statusKey, false);
    return {true, {}, dumpPath, installed};
}

} // namespace hh
