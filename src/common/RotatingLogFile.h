#pragma once
// A log file that stops growing at a fixed size. When a write would take it
// past the limit, the file is renamed to <name>.1 (replacing the older one)
// and a fresh file starts, so a program that runs for months keeps at most
// about twice the limit on disk. Safe to share between threads.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

namespace hh {

inline constexpr std::uintmax_t kLogFileLimit = 1024 * 1024;

class RotatingLogFile {
  public:
    explicit RotatingLogFile(std::filesystem::path file, std::uintmax_t limit = kLogFileLimit);

    const std::filesystem::path& path() const { return file_; }
    // Appends `text`, creating the folder and the file as needed. A text
    // longer than the limit still goes in whole, into a fresh file.
    bool append(std::string_view text, std::string* error = nullptr);
    // For writers that rewrite the whole file: moves it aside first when
    // `incoming` more bytes would take it past the limit.
    bool makeRoom(std::uintmax_t incoming, std::string* error = nullptr);

  private:
    bool rotateIfFull(std::uintmax_t incoming, std::string* error);

    std::filesystem::path file_;
    std::uintmax_t limit_;
    std::mutex mutex_;
};

} // namespace hh
