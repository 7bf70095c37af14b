#include "app/ThisSystem.h"

#include "platform/posix/XdgFolders.h"

#include <cstdlib>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

fs::path executableDir() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : self.parent_path();
}

namespace {

void moveIfAbsent(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (!fs::exists(from, ec) || fs::exists(to, ec))
        return;
    fs::create_directories(to.parent_path(), ec);
    fs::rename(from, to, ec);
    if (ec && fs::copy_file(from, to, ec)) // another file system
        fs::remove(from, ec);
}

} // namespace

ProgramFolders installedProgramFolders() {
    const fs::path configHome = xdgBaseFolder("XDG_CONFIG_HOME", ".config");
    const ProgramFolders folders{xdgBaseFolder("XDG_DATA_HOME", ".local/share") / "handlehound",
                                 configHome / "handlehound",
                                 xdgBaseFolder("XDG_STATE_HOME", ".local/state") / "handlehound"};
    // Earlier versions kept the settings and the logs in the program folder
    // and the window position in Qt's default place.
    moveIfAbsent(folders.program / "handleHound.ini", folders.settingsFile());
    moveIfAbsent(configHome / "Handlehound" / "Handlehound.conf", folders.windowPositionFile());
    for (const char* log : {"console.log", "aliasdb.log"})
        moveIfAbsent(folders.program / "log" / log, folders.logs / log);
    std::error_code ec;
    fs::remove(configHome / "Handlehound", ec); // only when empty
    fs::remove(folders.program / "log", ec);
    return folders;
}

// Installed: the data folder relative to the bin folder. Built: the build
// folder's own copy beside the executable.
std::vector<fs::path> shippedDataCandidates() {
    return {executableDir() / HH_DATA_FROM_BIN, executableDir() / "share" / "handlehound"};
}

std::string systemUsageNote() {
    return {};
}

} // namespace hh
