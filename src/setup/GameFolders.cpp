#include "setup/GameFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

std::string homeFromEnvironment() {
    const char* home = std::getenv("HOME");
    return home ? std::string(home) : std::string();
}

std::vector<std::string> gameFolderCandidates(const std::string& home) {
    if (home.empty())
        return {};
    const std::string root = withTrailingSlash(home);
    // ~/.q3a serves both id's Linux client and ioquake3.
    return {root + ".q3a", root + ".openarena", root + ".ioquake3", root + ".local/share/ioquake3",
            root + ".local/share/openarena"};
}

std::string detectGameFolder(const std::string& home) {
    std::error_code ec;
    for (const auto& candidate : gameFolderCandidates(home))
        if (fs::is_directory(fs::path(candidate) / "baseq3", ec) ||
            fs::is_directory(fs::path(candidate) / "baseoa", ec))
            return withTrailingSlash(candidate);
    return {};
}

std::string expandHome(const std::string& path, const std::string& home) {
    if (home.empty() || path.empty() || path[0] != '~')
        return path;
    if (path.size() == 1)
        return home;
    return path[1] == '/' ? withTrailingSlash(home) + path.substr(2) : path;
}

std::string withTrailingSlash(const std::string& path) {
    if (path.empty())
        return path;
    std::size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    return end == 1 && path[0] == '/' ? "/" : path.substr(0, end) + "/";
}

std::string gameFolderAbove(const std::string& chosenPath, const std::string& baseFolder) {
    std::error_code ec;
    fs::path folder = fs::path(chosenPath).lexically_normal();
    if (!folder.has_filename()) // "dir/" names the folder itself
        folder = folder.parent_path();
    if (!fs::is_directory(folder, ec))
        folder = folder.parent_path();
    for (int level = 0; level < 4 && !folder.empty(); ++level) {
        if (fs::is_directory(folder / baseFolder, ec))
            return withTrailingSlash(folder.string());
        if (folder == folder.parent_path())
            break;
        folder = folder.parent_path();
    }
    return {};
}

} // namespace hh
