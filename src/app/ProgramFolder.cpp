#include "app/ProgramFolder.h"

#include "app/ThisSystem.h"
#include "common/Version.h"
#include "platform/Files.h"

#include <array>
#include <sstream>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

ProgramFolders portableFolders(const fs::path& dir) {
    return {dir, dir, dir / "log"};
}

ProgramFolders resolveProgramFolders(const fs::path& option) {
    std::error_code ec;
    ProgramFolders folders;
    if (!option.empty())
        folders = portableFolders(fs::absolute(option, ec));
    else if (fs::exists(executableDir() / "handleHound.ini", ec))
        folders = portableFolders(executableDir());
    else
        folders = installedProgramFolders();
    // The settings writer replaces the file atomically beside itself, so
    // its folder must be there before the first save.
    fs::create_directories(folders.program, ec);
    fs::create_directories(folders.config, ec);
    return folders;
}

namespace {

// The version that last copied the shipped files in, so a newer program
// knows to refresh them.
constexpr const char* kStampName = "shipped.version";

std::array<int, 3> parseVersion(const std::string& text) {
    std::array<int, 3> parts{0, 0, 0};
    std::istringstream in(text);
    char dot = 0;
    in >> parts[0] >> dot >> parts[1] >> dot >> parts[2];
    return in.fail() ? std::array<int, 3>{0, 0, 0} : parts;
}

bool olderThanThisProgram(const fs::path& stamp) {
    const auto text = readWholeFile(stamp);
    return !text ||
           parseVersion(*text) < std::array<int, 3>{kVersionMajor, kVersionMinor, kVersionRevision};
}

fs::path shippedDataDir() {
    std::error_code ec;
    for (const auto& c : shippedDataCandidates())
        if (fs::exists(c / "handleHound.cfg", ec))
            return c;
    return {};
}

} // namespace

std::string installShippedFiles(const fs::path& programDir) {
    const fs::path data = shippedDataDir();
    if (data.empty())
        return "The shipped data folder (sounds, icons, handleHound.cfg) was not found.";
    const fs::path stamp = programDir / kStampName;
    const bool refresh = olderThanThisProgram(stamp);
    const auto mode =
        refresh ? fs::copy_options::overwrite_existing : fs::copy_options::skip_existing;
    std::error_code ec;
    bool copied = true;
    // Existing files are decided here: MinGW's copy_file refuses an existing
    // target whatever the options say.
    auto copy = [&](const fs::path& from, const fs::path& to, fs::copy_options how) {
        if (fs::exists(to, ec)) {
            if (how == fs::copy_options::skip_existing)
                return;
            fs::remove(to, ec);
        }
        fs::copy_file(from, to, ec);
        copied = copied && !ec;
    };
    for (const char* folder : {"Sound", "Icons"}) {
        fs::create_directories(programDir / folder, ec);
        for (const auto& entry : fs::directory_iterator(data / folder, ec))
            if (entry.is_regular_file())
                copy(entry.path(), programDir / folder / entry.path().filename(), mode);
    }
    copy(data / "Handlehound_README.TXT", programDir / "Handlehound_README.TXT", mode);
    // The installation moves the shipped script away and keeps a backup; only
    // a folder that has neither gets a fresh copy. A newer script replaces
    // whichever of the two is there.
    const fs::path script = programDir / "handleHound.cfg";
    const fs::path backup = programDir / "handleHound.BACKUP";
    const bool hasScript = fs::exists(script, ec), hasBackup = fs::exists(backup, ec);
    if (!hasScript && !hasBackup)
        copy(data / "handleHound.cfg", script, mode);
    if (refresh && hasScript)
        copy(data / "handleHound.cfg", script, mode);
    if (refresh && hasBackup)
        copy(data / "handleHound.cfg", backup, mode);
    if (refresh && copied)
        writeFileAtomically(stamp, versionText() + "\n");
    return copied ? std::string()
                  : "Some shipped files could not be copied into " + programDir.string() + ".";
}

} // namespace hh
