#pragma once
// Follows a file the game keeps appending to (its console log) and hands
// over each complete line once, as soon as a change notice arrives. Memory
// stays small however large the file grows: reading starts at the end, goes
// in chunks, and a line longer than the cap is dropped whole.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace hh {

class FileWatcher;

class LogFollower {
  public:
    using LineHandler = std::function<void(std::string_view line)>;
    // `onLine` gets each line without its line end (LF or CR LF); it must not
    // call follow().
    LogFollower(FileWatcher& watcher, LineHandler onLine);
    ~LogFollower();
    LogFollower(const LogFollower&) = delete;
    LogFollower& operator=(const LogFollower&) = delete;

    // Follows `path` from its current end; a file that does not exist yet is
    // read from its beginning once it appears. "" stops following.
    void follow(const std::string& path);
    const std::string& path() const { return path_; }
    // Reads what was written since the last read. Every change notice calls
    // it; a file that was truncated, replaced, or deleted and created again
    // is read from its beginning.
    void readNew();

    static constexpr std::size_t kMaxLineBytes = 4096;
    static constexpr std::size_t kChunkBytes = 64 * 1024;

  private:
    void startOver();
    void take(std::string_view bytes);
    bool sameBytesBeforeOffset(std::istream& in);

    FileWatcher& watcher_;
    LineHandler onLine_;
    std::string path_;
    std::uintmax_t offset_ = 0; // bytes handed over or skipped
    // The bytes just before offset_: when they change, the file was rewritten
    // under us (truncated and grown again before we looked, or replaced).
    std::string lastBytes_;
    std::string partial_;   // the line being written
    std::string chunk_;     // read buffer
    bool skipping_ = false; // inside a line that is dropped (too long, or begun before us)
    bool fileSeen_ = false; // the file existed at the last read
};

} // namespace hh
