#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hh {
namespace fs = std::filesystem;

namespace {

bool fail(std::string* error, const fs::path& path, const char* what) {
    if (error)
        *error = std::string(what) + " '" + path.string() + "': " + std::strerror(errno);
    return false;
}

} // namespace

bool writeFileAtomically(const fs::path& path, std::string_view bytes, std::string* error,
                         Durability durability) {
    mode_t mode = 0644;
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    if (existed)
        mode = old.st_mode & 07777;

    const std::string tmp = temporaryPathBeside(path).string();
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(error, path, "cannot write");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int saved = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            errno = saved;
            return fail(error, path, "cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
    const bool flushed = durability == Durability::ProcessCrashOnly || ::fsync(fd) == 0;
    if (!flushed || ::fchmod(fd, mode) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        errno = saved;
        return fail(error, path, "cannot write");
    }
    ::close(fd);
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(tmp.c_str());
        errno = saved;
        return fail(error, path, "cannot replace");
    }
    return true;
}

} // namespace hh
