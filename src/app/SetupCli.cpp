#include "app/SetupCli.h"

#include "app/ProgramFolder.h"
#include "app/ProgramServices.h"
#include "setup/SetupCommand.h"

#include <iostream>

namespace hh {

int runSetupCli(const AppOptions& options) {
    const auto programDir = resolveProgramDir(options.programDir);
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
