#include "gamelink/DumpPaths.h"

#include "common/Strings.h"

namespace hh {
namespace {

// Text before the last '/', or "" when there is none.
std::string beforeLastSlash(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

std::string modFolderPath(const std::string& dumpPath) {
    return beforeLastSlash(dumpPath);
}

std::string gameFolderPath(const std::string& dumpPath) {
    const std::string modFolder = modFolderPath(dumpPath);
    const auto slash = modFolder.rfind('/');
    return slash == std::string::npos ? std::string() : modFolder.substr(0, slash + 1);
}

std::string currentModOf(const std::string& dumpPath) {
    return afterLast(modFolderPath(dumpPath), '/');
}

} // namespace hh
