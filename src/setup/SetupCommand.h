#pragma once
// `handlehound --setup`: the Setup dialog's OK steps without a window.
#include <iosfwd>
#include <string>

namespace hh {

struct Platform;

struct SetupCommandArgs {
    std::string gameDir;    // --game-dir: the engine's home path
    std::string mod;        // --mod: a mod folder or the base folder
    std::string engine;     // --engine: a profile name; "" guesses from the folder
    std::string commandKey; // --command-key; "" keeps the stored key (tab)
    std::string statusKey;  // --status-key; "" keeps the stored key (f5)
    std::string programDir; // --program-dir; "" uses platform.paths
    // handleHound.ini; "" = the one in the program folder
    std::string settingsFile = {};
};

// 0 when set up; 1 after printing the reason to `err`.
int runSetupCommand(const SetupCommandArgs& args, std::ostream& out, std::ostream& err,
                    Platform& platform);

} // namespace hh
