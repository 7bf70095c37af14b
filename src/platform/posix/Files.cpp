#include "platform/Files.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace hh {
namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(bytes.data(), size);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    return bytes;
}

namespace {

std::string temporaryNameBeside(const fs::path& path) {
    static thread_local std::mt19937_64 rng{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(rng()));
    return path.string() + suffix;
}

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

    const std::string tmp = temporaryNameBeside(path);
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

bool ensureFileExists(const fs::path& path) {
    if (fileExists(path))
        return true;
    std::ofstream out(path, std::ios::binary | std::ios::app);
    return static_cast<bool>(out);
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string modifiedTimeText(const fs::path& path) {
    std::error_code ec;
    const auto ftime = fs::last_write_time(path, ec);
    if (ec || !fs::is_regular_file(path, ec))
        return {};
    const auto sys = std::chrono::file_clock::to_sys(ftime);
    const std::time_t t =
        std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(sys));
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

} // namespace hh
