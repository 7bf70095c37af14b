#include "setup/SetupCommand.h"

#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/EngineProfiles.h"
#include "gamelink/GameScript.h"
#include "platform/Platform.h"
#include "settings/KeyNames.h"
#include "settings/Settings.h"
#include "setup/SetupSteps.h"

#include <algorithm>
#include <ostream>

namespace hh {
namespace {

// The program folder named on the command line, whatever the platform's is:
// the settings file and the shipped script are both taken from it.
class ProgramDirPaths : public Paths {
  public:
    ProgramDirPaths(std::filesystem::path programDir, const Paths& inner)
        : programDir_(std::move(programDir)), inner_(inner) {}
    std::filesystem::path programDir() const override { return programDir_; }
    std::filesystem::path desktopDir() const override { return inner_.desktopDir(); }

  private:
    std::filesystem::path programDir_;
    const Paths& inner_;
};

std::string profileNames() {
    std::string names;
    for (const auto& profile : engineProfiles())
        names += (names.empty() ? "" : ", ") + profile.name;
    return names;
}

bool offeredKey(const std::string& name) {
    const auto& names = keyNameList();
    return std::find(names.begin(), names.end(), toLower(name)) != names.end();
}

} // namespace

int runSetupCommand(const SetupCommandArgs& args, std::ostream& out, std::ostream& err,
                    Platform& platform) {
    auto fail = [&err](const std::string& message) {
        err << message << "\n";
        return 1;
    };
    if (args.gameDir.empty() || args.mod.empty())
        return fail("Error!  --setup needs --game-dir DIR and --mod NAME.");

    const EngineProfile* profile = nullptr;
    if (!args.engine.empty()) {
        profile = findEngineProfile(args.engine);
        if (!profile)
            return fail("Error!  Unknown engine '" + args.engine +
                        "'. Known engines: " + profileNames() + ".");
    } else {
        profile = guessEngineProfile(args.gameDir);
        if (!profile)
            return fail("Error!  Can not tell which engine uses '" + args.gameDir +
                        "'. Please name it with --engine (" + profileNames() + ").");
    }

    ProgramDirPaths paths(args.programDir.empty() ? platform.paths.programDir()
                                                  : std::filesystem::path(args.programDir),
                          platform.paths);
    Platform local{
        platform.timers,  platform.clock, platform.events,      platform.clipboard, platform.sound,
        platform.windows, paths,          platform.keys,        platform.hotKey,    platform.pages,
        platform.dialogs, platform.shell, platform.fileWatcher, platform.resolver,  platform.icmp};
    Settings settings(paths.programDir() / "handleHound.ini",
                      [&err](const std::string& message) { err << message << "\n"; });

    const std::string commandKey =
        args.commandKey.empty() ? settings.commandKey() : args.commandKey;
    const std::string statusKey = args.statusKey.empty() ? settings.statusKey() : args.statusKey;
    for (const std::string& key : {commandKey, statusKey})
        if (!offeredKey(key))
            return fail("Error!  '" + key + "' is not a game key name Handlehound offers.");

    SharedState state;
    GameScript gameScript(state, settings, local);
    const SetupChoice choice{args.gameDir, args.mod, profile, commandKey, statusKey};
    const SetupOutcome outcome =
        runSetupSteps(choice, {settings,
                               local,
                               gameScript,
                               [&state](const std::string& path) { state.gDumpFileAbsPath = path; },
                               {}});
    if (!outcome.done)
        return fail(outcome.message);

    out << "Handlehound is set up for " << profile->name
        << (args.engine.empty() ? " (guessed from the game folder)" : "") << ".\n"
        << "Dump file: " << outcome.dumpPath << "\n"
        << "Game-side script: " << settings.cfgAt() << "\n";
    return 0;
}

} // namespace hh
