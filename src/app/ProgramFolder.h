#pragma once
#include <filesystem>
#include <string>

namespace hh {

// --program-dir, else the executable's folder when it holds handleHound.ini
// (a portable copy), else the system's default place. Created when missing.
std::filesystem::path resolveProgramDir(const std::filesystem::path& option);

// Copies the shipped sounds, icons, readme and game-side script into the
// program folder where they are missing. Returns a problem text or "".
std::string installMissingResources(const std::filesystem::path& programDir);

} // namespace hh
