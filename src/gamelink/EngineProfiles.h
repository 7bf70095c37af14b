#pragma once
// The engines players run, and the names each needs.
#include <string>
#include <vector>

namespace hh {

class Settings;

struct EngineProfile {
    std::string name;         // "quake3", "quake3-linux", "ioquake3", "openarena"
    std::string windowTitle;  // Main / GameWindowTitle
    std::string baseFolder;   // Main / BaseFolder
    std::string dumpFileName; // Main / DumpFileName
    // Main / ConsoleLogName: what `logfile 2` writes beside the dump (the
    // engine's home path + the game folder it runs).
    std::string consoleLogName;
};

const std::vector<EngineProfile>& engineProfiles();
const EngineProfile* findEngineProfile(const std::string& name);
// Writes the profile's settings.
void applyEngineProfile(Settings& settings, const EngineProfile& profile);
// Guess from a game folder (the engine's home path): ~/.openarena -> openarena,
// a folder with baseq3 -> ioquake3; nullptr when nothing fits.
const EngineProfile* guessEngineProfile(const std::string& gameFolder);

} // namespace hh
