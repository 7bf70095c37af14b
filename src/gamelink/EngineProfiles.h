#pragma once
// The engines players run, and the names each needs.
#include "common/HostSystem.h"

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
// The engine a player of this system most likely runs: Quake III Arena 1.32
// on Windows, ioquake3 on Linux.
const EngineProfile& defaultEngineProfile(HostSystem system = kHostSystem);
// Guess from a game folder (the engine's home path): ~/.openarena or a folder
// with baseoa -> openarena, a folder with baseq3 -> the system's default;
// nullptr when nothing fits.
const EngineProfile* guessEngineProfile(const std::string& gameFolder,
                                        HostSystem system = kHostSystem);

} // namespace hh
