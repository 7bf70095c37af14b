#pragma once
// The command line of handlehound.
#include <string>

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
    // The first thing wrong with the command line, "" when nothing is.
    std::string error;
};

// Arguments as UTF-8 (Windows converts its wide command line first).
AppOptions parseAppOptions(int argc, const char* const* argv);
std::string usageText();

} // namespace hh
