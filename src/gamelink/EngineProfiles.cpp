#include "gamelink/EngineProfiles.h"

#include "common/PathText.h"
#include "settings/Settings.h"

#include <filesystem>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

const std::vector<EngineProfile>& engineProfiles() {
    // ioquake3 refuses to condump into any name that does not end in ".txt",
    // so its family gets a .txt dump; id's engine writes any name. Every one
    // of them opens its console log as qconsole.log through the same file
    // call as condump, so the log lies beside the dump.
    static const std::vector<EngineProfile> profiles = {
        {"quake3", "Quake 3: Arena", "baseq3", "handleHound.who", "qconsole.log"},
        {"quake3-linux", "Quake III: Arena", "baseq3", "handleHound.who", "qconsole.log"},
        {"ioquake3", "ioquake3", "baseq3", "handleHound.txt", "qconsole.log"},
        {"openarena", "ioquake3", "baseoa", "handleHound.txt", "qconsole.log"},
    };
    return profiles;
}

const EngineProfile* findEngineProfile(const std::string& name) {
    for (const auto& profile : engineProfiles())
        if (profile.name == name)
            return &profile;
    return nullptr;
}

void applyEngineProfile(Settings& settings, const EngineProfile& profile) {
    settings.setGameWindowTitle(profile.windowTitle);
    settings.setBaseFolder(profile.baseFolder);
    settings.setDumpFileName(profile.dumpFileName);
    settings.setConsoleLogName(profile.consoleLogName);
}

const EngineProfile& defaultEngineProfile(HostSystem system) {
    return *findEngineProfile(system == HostSystem::Windows ? "quake3" : "ioquake3");
}

const EngineProfile* guessEngineProfile(const std::string& gameFolder, HostSystem system) {
    std::error_code ec;
    const fs::path folder = pathOf(gameFolder);
    const std::string last =
        textOf(folder.has_filename() ? folder.filename() : folder.parent_path().filename());
    if (last == ".openarena" || fs::is_directory(folder / "baseoa", ec))
        return findEngineProfile("openarena");
    // A home path with baseq3 is id's install folder on Windows; on Linux it
    // is nearly always ioquake3's (~/.q3a), id's own Linux client is rare
    // enough to be chosen by hand.
    if (fs::is_directory(folder / "baseq3", ec))
        return &defaultEngineProfile(system);
    return nullptr;
}

} // namespace hh
