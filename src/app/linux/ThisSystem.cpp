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

std::vector<fs::path> shippedDataCandidates() {
    return {executableDir() / ".." / "share" / "handlehound", fs::path(HH_DATA_DIR),
            fs::path(HH_SOURCE_DATA_DIR)};
}

std::string systemUsageNote() {
    return {};
}

} // namespace hh
