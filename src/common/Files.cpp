#include "platform/Files.h"

#include "common/UtcTime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

namespace hh {
namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // The size is only a hint (the file may grow or shrink meanwhile).
    const auto size = fs::file_size(path, ec);
    std::string bytes(ec ? 0 : std::min<std::uintmax_t>(size, kReadCapBytes), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

fs::path temporaryPathBeside(const fs::path& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
    fs::path temporary = path;
    temporary += suffix;
    return temporary;
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
    return utcDateTimeText(std::chrono::file_clock::to_sys(ftime));
}

} // namespace hh
