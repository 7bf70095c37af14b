#include "app/ThisSystem.h"

#include <cstdlib>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

fs::path executableDir() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : self.parent_path();
}

fs::path defaultProgramDir() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = dataHome && *dataHome ? fs::path(dataHome)
                                                : fs::path(home ? home : ".") / ".local" / "share";
    return base / "handlehound";
}

// Installed: the data folder relative to the bin folder. Built: the build
// folder's own copy beside the executable.
std::vector<fs::path> shippedDataCandidates() {
    return {executableDir() / HH_DATA_FROM_BIN, executableDir() / "share" / "handlehound"};
}

std::string systemUsageNote() {
    return {};
}

} // namespace hh
