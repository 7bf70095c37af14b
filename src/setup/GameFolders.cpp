#include "setup/GameFolders.h"

#include "common/PathText.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

std::string homeFromEnvironment() {
    const char* home = std::getenv("HOME");
    return home ? std::string(home) : std::string();
}

std::vector<std::string> gameFolderCandidates(const std::string& home, HostSystem system) {
    std::vector<std::string> found;
    if (system == HostSystem::Windows) {
        // Quake III Arena 1.32 is its own home path: the install folder.
        found = {"C:/Program Files/Quake III Arena", "C:/Program Files (x86)/Quake III Arena",
                 "C:/Games/Quake III Arena", "C:/Program Files/Quake 3 Arena",
                 "C:/Quake III Arena"};
        if (!home.empty())
            found.push_back(withTrailingSlash(home, system) + "AppData/Roaming/Quake3");
        return found;
    }
    if (home.empty())
        return found;
    const std::string root = withTrailingSlash(home, system);
    // ~/.q3a serves both id's Linux client and ioquake3.
    return {root + ".q3a", root + ".openarena", root + ".ioquake3", root + ".local/share/ioquake3",
            root + ".local/share/openarena"};
}

std::string detectGameFolder(const std::string& home, HostSystem system) {
    std::error_code ec;
    for (const auto& candidate : gameFolderCandidates(home, system))
        if (fs::is_directory(pathOf(candidate) / "baseq3", ec) ||
            fs::is_directory(pathOf(candidate) / "baseoa", ec))
            return withTrailingSlash(candidate, system);
    return {};
}

std::string expandHome(const std::string& path, const std::string& home) {
    if (home.empty() || path.empty() || path[0] != '~')
        return path;
    if (path.size() == 1)
        return home;
    return path[1] == '/' ? withTrailingSlash(home) + path.substr(2) : path;
}

std::string withTrailingSlash(const std::string& path, HostSystem system) {
    if (path.empty())
        return path;
    std::string folder = path;
    if (system == HostSystem::Windows)
        std::replace(folder.begin(), folder.end(), '\\', '/');
    std::size_t end = folder.size();
    while (end > 1 && folder[end - 1] == '/')
        --end;
    return end == 1 && folder[0] == '/' ? "/" : folder.substr(0, end) + "/";
}

std::string gameFolderAbove(const std::string& chosenPath, const std::string& baseFolder) {
    std::error_code ec;
    fs::path folder = pathOf(chosenPath).lexically_normal();
    if (!folder.has_filename()) // "dir/" names the folder itself
        folder = folder.parent_path();
    if (!fs::is_directory(folder, ec))
        folder = folder.parent_path();
    for (int level = 0; level < 4 && !folder.empty(); ++level) {
        if (fs::is_directory(folder / pathOf(baseFolder), ec))
            return withTrailingSlash(textOf(folder));
        if (folder == folder.parent_path())
            break;
        folder = folder.parent_path();
    }
    return {};
}

} // namespace hh
