#pragma once
// What differs between the systems the program is built for: one source
// file per system (linux/, win32/) defines these.
#include "app/ProgramFolder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace hh {

// Folder of the running executable.
std::filesystem::path executableDir();

// Where an installed program keeps its files (no folder given, and the
// executable's folder is no portable copy). Moves files that earlier
// versions kept elsewhere into these folders, once.
ProgramFolders installedProgramFolders();

// Folders that may hold the shipped data (sounds, icons, game-side script),
// most specific first.
std::vector<std::filesystem::path> shippedDataCandidates();

// Lines `--help` adds for this system ("" when none).
std::string systemUsageNote();

} // namespace hh
