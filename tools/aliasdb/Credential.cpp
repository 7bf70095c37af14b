#include "Credential.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace hh::aliasdb {

namespace {

constexpr std::size_t kSecretBytes = 32;

bool freshSecret(std::string& secret) {
    unsigned char bytes[kSecretBytes];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            got += static_cast<std::size_t>(n);
    }
    static constexpr char kHex[] = "0123456789abcdef";
    secret.clear();
    for (unsigned char b : bytes) {
        secret += kHex[b >> 4];
        secret += kHex[b & 0x0f];
    }
    return true;
}

bool create(const std::filesystem::path& file, std::string& secret, std::string& error) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot create " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    const std::string line = secret + "\n";
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(fd);
    if (!written)
        error = "cannot write " + file.string();
    return written;
}

} // namespace

bool loadOrCreateCredential(const std::filesystem::path& file, std::string& secret,
                            std::string& error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0 && errno == ENOENT) {
        if (!freshSecret(secret)) {
            error = "no random bytes from the system: " + std::string(std::strerror(errno));
            return false;
        }
        return create(file, secret, error);
    }
    if (fd < 0) {
        error = "cannot read " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    char text[256];
    const bool statted = ::fstat(fd, &info) == 0;
    const ssize_t n = ::read(fd, text, sizeof text);
    ::close(fd);
    if (!statted || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        error = file.string() + " must belong to this user and be readable by nobody else "
                                "(chmod 600)";
        return false;
    }
    secret.assign(text, n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!secret.empty() && (secret.back() == '\n' || secret.back() == '\r'))
        secret.pop_back();
    const bool printable =
        std::all_of(secret.begin(), secret.end(), [](char c) { return c > ' ' && c < 0x7F; });
    if (secret.size() < 16 || !printable) {
        error = file.string() + " holds no credential (one line of at least 16 characters)";
        return false;
    }
    return true;
}

} // namespace hh::aliasdb
