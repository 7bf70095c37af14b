#include "gamelink/DumpPaths.h"

#include "common/PathText.h"

#include <filesystem>

namespace hh {
namespace {

// Text before the last separator, or "" when there is none.
std::string beforeLastSlash(const std::string& path) {
    const auto slash = path.find_last_of(folderSeparators());
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

std::string modFolderPath(const std::string& dumpPath) {
    return beforeLastSlash(dumpPath);
}

std::string gameFolderPath(const std::string& dumpPath) {
    const std::string modFolder = modFolderPath(dumpPath);
    const auto slash = modFolder.find_last_of(folderSeparators());
    return slash == std::string::npos ? std::string() : modFolder.substr(0, slash + 1);
}

std::string currentModOf(const std::string& dumpPath) {
    const std::string modFolder = modFolderPath(dumpPath);
    return modFolder.substr(modFolder.find_last_of(folderSeparators()) + 1);
}

std::string missingGameFolderMessage(const std::string& dumpPath) {
    const std::string game = gameFolderPath(dumpPath);
    std::error_code ec;
    if (game.empty() || std::filesystem::is_directory(pathOf(game), ec))
        return {};
    return "Error! The game folder '" + game +
           "' does not exist: no answer can reach the game. Set Handlehound up again "
           "(handlehound --setup --game-dir DIR --mod NAME, or the set-up dialog at the "
           "next start).";
}

} // namespace hh
