#pragma once
// Paths derived from the dump file path <game>/<mod>/<dump file>.
#include <string>

namespace hh {

std::string modFolderPath(const std::string& dumpPath); // everything before the last '/'
std::string
gameFolderPath(const std::string& dumpPath); // mod folder path up to and including its last '/'
std::string currentModOf(const std::string& dumpPath); // name of the mod folder

} // namespace hh
