#include "app/ProgramFolder.h"

#include "app/ThisSystem.h"

#include <system_error>

namespace hh {
namespace fs = std::filesystem;

fs::path resolveProgramDir(const fs::path& option) {
    fs::path dir;
    if (!option.empty())
        dir = option;
    else if (fs::exists(executableDir() / "handleHound.ini"))
        dir = executableDir();
    else
        dir = defaultProgramDir();
    std::error_code ec;
    fs::create_directories(dir, ec);
    return fs::absolute(dir, ec);
}

namespace {

fs::path shippedDataDir() {
    std::error_code ec;
    for (const auto& c : shippedDataCandidates())
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
