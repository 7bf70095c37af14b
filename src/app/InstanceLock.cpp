#include "app/InstanceLock.h"

namespace hh {

std::string heldElsewhereText(const std::filesystem::path& programDir, long holder) {
    const std::string who =
        holder > 0 ? "Handlehound (PID " + std::to_string(holder) + ")" : "Another Handlehound";
    return who + " is already running on the program folder " + programDir.string() +
           "; only one may run on a program folder at a time.";
}

} // namespace hh
