#pragma once
// The setup's OK steps, shared by the Setup dialog and `--setup`: check the
// game folder and the mod, create the dump file, store where it is, apply the
// engine's names, install the game-side script on the first run, store keys.
#include <functional>
#include <string>

namespace hh {

struct Platform;
struct EngineProfile;
class Settings;
class GameScript;

struct SetupChoice {
    std::string gameFolder; // the engine's home path, holding its base folder
    std::string mod;        // a mod folder, or the base folder itself
    const EngineProfile* profile = nullptr;
    std::string commandKey; // as chosen, any letter case
    std::string statusKey;
};

struct SetupServices {
    Settings& settings;
    Platform& platform;
    GameScript& gameScript;
    std::function<void(const std::string&)> setDumpFileAbsPath;
    std::function<void()> reregisterHotKey;
};

struct SetupOutcome {
    bool done = false;
    std::string message; // for the user when not done
    std::string dumpPath;
    bool scriptInstalled = false; // the game-side script was installed by this run
};

inline constexpr const char* kEqualKeysMessage =
    "Command Exec Key can not be the same as Results/Status Key.";

// Nothing is stored when the folder or mod test fails; after a later failure
// what was stored stays stored, as the dialog always did.
SetupOutcome runSetupSteps(const SetupChoice& choice, const SetupServices& services);

} // namespace hh
