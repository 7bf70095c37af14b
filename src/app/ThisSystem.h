#pragma once
// What differs between the systems the program is built for: one source
// file per system (linux/, win32/) defines these.
#include <filesystem>
#include <string>
#include <vector>

namespace hh {

// Folder of the running executable.
std::filesystem::path executableDir();

// Where the program keeps its files when no folder is given and the
// executable's folder is no portable copy.
std::filesystem::path defaultProgramDir();

// Folders that may hold the shipped data (sounds, icons, game-side script),
// most specific first.
std::vector<std::filesystem::path> shippedDataCandidates();

// Lines `--help` adds for this system ("" when none).
std::string systemUsageNote();

} // namespace hh
