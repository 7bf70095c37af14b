#pragma once
// Where engines keep their home path (the game folder: the folder the engine
// writes to, holding its base folder), and paths typed or chosen for it.
#include "common/HostSystem.h"

#include <string>
#include <vector>

namespace hh {

// $HOME, or "" when it is not set.
std::string homeFromEnvironment();

// The usual game folders, most common first: home paths under `home`; on
// Windows first the install folders of Quake III Arena.
std::vector<std::string> gameFolderCandidates(const std::string& home,
                                              HostSystem system = kHostSystem);

// The first candidate holding a base folder (baseq3 or baseoa), with a
// trailing '/'; "" when none does.
std::string detectGameFolder(const std::string& home, HostSystem system = kHostSystem);

// "~" or "~/..." typed by the user, against `home`; other text unchanged.
std::string expandHome(const std::string& path, const std::string& home);

// The path with exactly one trailing '/' in place of any trailing separators
// ("" stays ""); on Windows every '\' becomes '/', so stored paths have one form.
std::string withTrailingSlash(const std::string& path, HostSystem system = kHostSystem);

// The game folder for a file or folder the user chose inside it: the chosen
// folder (or the file's folder) or one of its parents, whichever first holds
// `baseFolder`; "" when none within three levels does.
std::string gameFolderAbove(const std::string& chosenPath, const std::string& baseFolder);

} // namespace hh
