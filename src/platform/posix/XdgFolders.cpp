#include "platform/posix/XdgFolders.h"

#include <cstdlib>

namespace hh {

std::filesystem::path xdgBaseFolder(const char* variable, const char* defaultUnderHome) {
    const char* value = std::getenv(variable);
    if (value && *value == '/')
        return value;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / defaultUnderHome;
}

} // namespace hh
