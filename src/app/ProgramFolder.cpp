#include "app/ProgramFolder.h"

#include <cstdlib>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

fs::path executableDir(const char* argv0) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path();
    return fs::absolute(argv0 ? argv0 : ".", ec).parent_path();
}

fs::path resolveProgramDir(const std::string& option, const char* argv0) {
    fs::path dir;
    if (!option.empty()) {
        dir = option;
    } else if (fs::exists(executableDir(argv0) / "handleHound.ini")) {
        dir = executableDir(argv0);
    } else {
        const char* dataHome = std::getenv("XDG_DATA_HOME");
        const char* home = std::getenv("HOME");
        fs::path base = dataHome && *dataHome ? fs::path(dataHome)
                                              : fs::path(home ? home : ".") / ".local" / "share";
        dir = base / "handlehound";
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    return fs::absolute(dir, ec);
}

namespace {

fs::path shippedDataDir() {
    const fs::path candidates[] = {
        executableDir(nullptr) / ".." / "share" / "handlehound",
        fs::path(HH_DATA_DIR),
        fs::path(HH_SOURCE_DATA_DIR),
    };
    std::error_code ec;
    for (const auto& c : candidates)
        if (fs::exists(c / "handleHound.cfg", ec))
            return c;
    return {};
}

} // namespace

std::string installMissingResources(const fs::path& programDir) {
    const fs::path data = shippedDataDir();
    if (data.empty())
        return "The shipped data folder (sounds, icons, handleHound.cfg) was not found.";
    std::error_code ec;
    for (const char* folder : {"Sound", "Icons"}) {
        fs::create_directories(programDir / folder, ec);
        for (const auto& entry : fs::directory_iterator(data / folder, ec))
            if (entry.is_regular_file() &&
                !fs::exists(programDir / folder / entry.path().filename()))
                fs::copy_file(entry.path(), programDir / folder / entry.path().filename(), ec);
    }
    if (!fs::exists(programDir / "Handlehound_README.TXT"))
        fs::copy_file(data / "Handlehound_README.TXT", programDir / "Handlehound_README.TXT", ec);
    // The installation moves the shipped script away and keeps a backup; only
    // a folder that has neither gets a fresh copy.
    if (!fs::exists(programDir / "handleHound.cfg") &&
        !fs::exists(programDir / "handleHound.BACKUP"))
        fs::copy_file(data / "handleHound.cfg", programDir / "handleHound.cfg", ec);
    return {};
}

} // namespace hh
