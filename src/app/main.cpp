#include "app/AppOptions.h"
#include "app/DesktopApp.h"
#include "app/HeadlessApp.h"
#include "app/SetupCli.h"
#include "common/Version.h"

#include <cstdio>

int main(int argc, char** argv) {
    const hh::AppOptions options = hh::parseAppOptions(argc, argv);
    if (options.showVersion) {
        std::printf("Handlehound v%s\n", hh::versionText().c_str());
        return 0;
    }
    if (options.showHelp) {
        std::printf("%s", hh::usageText().c_str());
        return 0;
    }
    if (!options.errors.empty()) {
        for (const auto& e : options.errors)
            std::fprintf(stderr, "handlehound: %s\n", e.c_str());
        std::fprintf(stderr, "%s", hh::usageText().c_str());
        return 2;
    }
    if (options.setup)
        return hh::runSetupCli(options, argv[0]);
    if (options.headless)
        return hh::runHeadless(options, argc, argv);
    return hh::runDesktop(options, argc, argv);
}
