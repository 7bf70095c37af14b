#include "app/Program.h"

#include "app/AppOptions.h"
#include "app/DesktopApp.h"
#include "app/HeadlessApp.h"
#include "app/SetupCli.h"
#include "common/Version.h"

#include <cstdio>

namespace hh {

int runProgram(int argc, char** argv) {
    const AppOptions options = parseAppOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "handlehound: %s\nTry 'handlehound --help'\n", options.error.c_str());
        return 2;
    }
    if (options.showVersion) {
        std::printf("Handlehound v%s\n", versionText().c_str());
        return 0;
    }
    if (options.showHelp) {
        std::printf("%s", usageText().c_str());
        return 0;
    }
    if (options.setup)
        return runSetupCli(options);
    if (options.headless)
        return runHeadless(options);
    return runDesktop(options, argc, argv);
}

} // namespace hh
