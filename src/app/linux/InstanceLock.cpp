#include "app/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace hh {

InstanceLock::InstanceLock(const std::filesystem::path& programDir) {
    const auto file = programDir / "handlehound.lock";
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        refusal_ =
            "Cannot lock the program folder (" + file.string() + "): " + std::strerror(errno);
        return;
    }
    handle_ = fd;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        // Without it the lock holds all the same; only the holder's name is missing.
        const std::string pid = std::to_string(::getpid()) + "\n";
        [[maybe_unused]] const bool named =
            ::ftruncate(fd, 0) == 0 &&
            ::pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
        return;
    }
    char text[32] = {};
    const long holder =
        ::pread(fd, text, sizeof text - 1, 0) > 0 ? std::strtol(text, nullptr, 10) : 0;
    refusal_ = heldElsewhereText(programDir, holder);
}

InstanceLock::~InstanceLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_)); // releases the lock
}

} // namespace hh
