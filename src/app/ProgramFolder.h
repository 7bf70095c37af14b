#pragma once
#include <filesystem>
#include <string>

namespace hh {

// --program-dir, else the executable's folder when it holds handleHound.ini
// (a portable copy), else $XDG_DATA_HOME/handlehound. Created when missing.
std::filesystem::path resolveProgramDir(const std::string& option, const char* argv0);

// Copies the shipped sounds, icons, readme and game-side script into the
// program folder where they are missing. Returns a problem text or "".
std::string installMissingResources(const std::filesystem::path& programDir);

// Folder of the running executable.
std::filesystem::path executableDir(const char* argv0);

} // namespace hh
