#include "app/AppOptions.h"

#include <cstring>

namespace hh {

std::string usageText() {
    return "Usage: handlehound [options]\n"
           "  (no option)              run the desktop program: tray icon, start detector, main "
           "window\n"
           "  --headless               run without any window; console lines go to standard "
           "output\n"
           "  --always-on              switch monitoring on at start instead of waiting for the "
           "game\n"
           "  --program-dir DIR        folder of handleHound.ini, Sound/, Icons/ and log/\n"
           "  --lookup-url URL         alias database address (default: setting Main / LookupURL)\n"
           "  --no-file-events         notice dump changes by the 1 s poll only\n"
           "  --quiet                  play no sounds\n"
           "  --setup --game-dir DIR --mod NAME [--engine PROFILE] [--command-key K]\n"
           "          [--status-key K] --program-dir P\n"
           "                           set up without a window (profiles: quake3, quake3-linux,\n"
           "                           ioquake3, openarena)\n"
           "  --version                print the version\n"
           "  --help                   print this text\n";
}

AppOptions parseAppOptions(int argc, char** argv) {
    AppOptions o;
    struct Valued {
        const char* name;
        std::string* target;
    };
    const Valued valued[] = {{"--program-dir", &o.programDir}, {"--lookup-url", &o.lookupUrl},
                             {"--game-dir", &o.gameDir},       {"--mod", &o.mod},
                             {"--engine", &o.engine},          {"--command-key", &o.commandKey},
                             {"--status-key", &o.statusKey}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        bool matched = true;
        if (arg == "--headless")
            o.headless = true;
        else if (arg == "--always-on")
            o.alwaysOn = true;
        else if (arg == "--setup")
            o.setup = true;
        else if (arg == "--version")
            o.showVersion = true;
        else if (arg == "--help" || arg == "-h")
            o.showHelp = true;
        else if (arg == "--no-file-events")
            o.noFileEvents = true;
        else if (arg == "--quiet")
            o.quiet = true;
        else
            matched = false;
        if (matched)
            continue;
        bool valuedMatch = false;
        for (const auto& v : valued) {
            const std::string name = v.name;
            if (arg == name) {
                valuedMatch = true;
                if (i + 1 >= argc)
                    o.errors.push_back(name + " needs a value");
                else
                    *v.target = argv[++i];
            } else if (arg.rfind(name + "=", 0) == 0) {
                valuedMatch = true;
                *v.target = arg.substr(name.size() + 1);
            }
        }
        // Qt's own options (-platform, -style ...) pass through to the desktop program.
        if (!valuedMatch && arg.rfind("--", 0) == 0)
            o.errors.push_back("unknown option " + arg);
    }
    return o;
}

} // namespace hh
