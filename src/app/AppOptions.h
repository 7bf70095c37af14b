#pragma once
// The command line of handlehound.
#include <string>
#include <vector>

namespace hh {

struct AppOptions {
    bool headless = false;
    bool alwaysOn = false;
    bool setup = false;
    bool showVersion = false;
    bool showHelp = false;
    bool noFileEvents = false; // poll only (for measuring the difference)
    bool quiet = false;        // no sounds
    std::string programDir;
    std::string lookupUrl;
    // --setup
    std::string gameDir, mod, engine, commandKey, statusKey;
    std::vector<std::string> errors;
};

AppOptions parseAppOptions(int argc, char** argv);
std::string usageText();

} // namespace hh
