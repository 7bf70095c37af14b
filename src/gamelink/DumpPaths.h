#pragma once
// Paths derived from the dump file path <game>/<mod>/<dump file> (folders
// end at any of folderSeparators()).
#include <string>

namespace hh {

// Everything before the last separator.
std::string modFolderPath(const std::string& dumpPath);
// The mod folder path up to and including its last separator.
std::string gameFolderPath(const std::string& dumpPath);
// The name of the mod folder.
std::string currentModOf(const std::string& dumpPath);

// "" while the game folder of a set-up dump path exists; otherwise the one
// message that says it is gone and how to set up again.
std::string missingGameFolderMessage(const std::string& dumpPath);

} // namespace hh
