#pragma once
// Where the program keeps its files. A portable program folder holds them
// all; an installed program spreads them over the user's folders for
// settings, data and logs, as the system expects.
#include <filesystem>
#include <string>

namespace hh {

struct ProgramFolders {
    // Sounds, icons, the readme, the shipped game-side script and its
    // backup, the alias database: the "program folder" of the original.
    std::filesystem::path program;
    // handleHound.ini and the main window's position.
    std::filesystem::path config;
    std::filesystem::path logs;

    std::filesystem::path settingsFile() const { return config / "handleHound.ini"; }
    std::filesystem::path windowPositionFile() const { return config / "Handlehound.conf"; }
};

// Everything in `dir`, the logs in its log/ folder.
ProgramFolders portableFolders(const std::filesystem::path& dir);

// --program-dir, else the executable's folder when it holds handleHound.ini:
// a portable folder. Otherwise the system's folders for an installed
// program. The program and settings folders are created; the logs folder
// when first written.
ProgramFolders resolveProgramFolders(const std::filesystem::path& option);

// Copies the shipped sounds, icons, readme and game-side script into the
// program folder where they are missing, and over the old ones when this
// program is newer than the one that copied them (the game-side script in
// the game folder, with the player's changes, is left alone). Returns a
// problem text or "".
std::string installShippedFiles(const std::filesystem::path& programDir);

} // namespace hh
