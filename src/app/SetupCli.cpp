#include "app/SetupCli.h"

#include "app/ProgramFolder.h"
#include "app/ProgramServices.h"
#include "common/PathText.h"
#include "setup/SetupCommand.h"

#include <iostream>

namespace hh {

int runSetupCli(const AppOptions& options) {
    const ProgramFolders folders = resolveProgramFolders(pathOf(options.programDir));
    const std::string problem = installShippedFiles(folders.program);
    if (!problem.empty())
        std::cerr << problem << "\n";
    ProgramServices services({false, false, true, folders.program, folders.logs});
    SetupCommandArgs args;
    args.gameDir = options.gameDir;
    args.mod = options.mod;
    args.engine = options.engine;
    args.commandKey = options.commandKey;
    args.statusKey = options.statusKey;
    args.programDir = textOf(folders.program);
    args.settingsFile = textOf(folders.settingsFile());
    return runSetupCommand(args, std::cout, std::cerr, services.platform());
}

} // namespace hh
