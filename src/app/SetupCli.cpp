#include "app/SetupCli.h"

#include "app/ProgramFolder.h"
#include "app/ProgramServices.h"
#include "setup/SetupCommand.h"

#include <QCoreApplication>
#include <iostream>

namespace hh {

int runSetupCli(const AppOptions& options, const char* argv0) {
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    QCoreApplication app(argc, argv);
    const auto programDir = resolveProgramDir(options.programDir, argv0);
    const std::string problem = installMissingResources(programDir);
    if (!problem.empty())
        std::cerr << problem << "\n";
    ProgramServices services({false, false, true, programDir});
    SetupCommandArgs args;
    args.gameDir = options.gameDir;
    args.mod = options.mod;
    args.engine = options.engine;
    args.commandKey = options.commandKey;
    args.statusKey = options.statusKey;
    args.programDir = programDir.string();
    return runSetupCommand(args, std::cout, std::cerr, services.platform());
}

} // namespace hh
