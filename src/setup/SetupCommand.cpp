#include "setup/SetupCommand.h"

#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/DumpPaths.h"
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
    std::error_code ec;
    if (!std::filesystem::is_directory(pathOf(args.gameDir), ec))
        return fail("Error!  The game folder '" + args.gameDir +
                    "' does not exist. --game-dir names the folder the game writes to " +
                    (kHostSystem == HostSystem::Windows
                         ? "(Quake III Arena: the folder it is installed in)."
                         : "(ioquake3 and Quake III: ~/.q3a, OpenArena: ~/.openarena)."));

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
                                                  : pathOf(args.programDir),
                          platform.paths);
    Platform local{platform.timers,
                   platform.clock,
                   platform.events,
                   platform.clipboard,
                   platform.sound,
                   platform.windows,
                   paths,
                   platform.keys,
                   platform.hotKey,
                   platform.pages,
                   platform.dialogs,
                   platform.shell,
                   platform.fileWatcher,
                   platform.logWatcher,
                   platform.resolver,
                   platform.icmp};
    // A setting that could not be written leaves the program set up wrong,
    // however well the other steps went.
    bool unsaved = false;
    Settings settings(args.settingsFile.empty() ? paths.programDir() / "handleHound.ini"
                                                : pathOf(args.settingsFile),
                      [&err, &unsaved](const std::string& message) {
                          err << message << "\n";
                          unsaved = true;
                      });

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
    if (unsaved)
        return fail("Error!  The settings could not be saved to '" + settings.iniPath().string() +
                    "'; Handlehound is not set up.");

    out << "Handlehound is set up for " << profile->name
        << (args.engine.empty() ? " (guessed from the game folder)" : "") << ".\n"
        << "Settings: " << settings.iniPath().string() << "\n"
        << "Dump file: " << outcome.dumpPath << "\n";
    if (settings.cfgAt() == "RequestManualMove") {
        out << "Game-side script: not installed (no shipped copy was found); copy "
               "handleHound.cfg into "
            << gameFolderPath(outcome.dumpPath) + settings.baseFolder() << " yourself.\n";
        return 0;
    }
    out << "Game-side script: " << settings.cfgAt()
        << (outcome.scriptInstalled ? " (installed now)" : " (installed before, left as it is)")
        << "\n"
        << "Next, in the game: type /exec handleHound.cfg in the console, then /hh help and "
           "press the Command key ("
        << settings.commandKey() << "); the Status key (" << settings.statusKey()
        << ") shows the answer. Handlehound adds the exec line to " << settings.baseFolder()
        << "/autoexec.cfg when it sees the game window while it runs.\n";
    return 0;
}

} // namespace hh
