#include "gamelink/LogFollower.h"

#include "platform/FileWatcher.h"

#include <algorithm>
#include <fstream>

namespace hh {
namespace {

constexpr std::size_t kCheckBytes = 64;

std::uintmax_t endOf(std::istream& in) {
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    return end < 0 ? 0 : static_cast<std::uintmax_t>(end);
}

} // namespace

LogFollower::LogFollower(FileWatcher& watcher, LineHandler onLine)
    : watcher_(watcher), onLine_(std::move(onLine)) {}

LogFollower::~LogFollower() {
    if (!path_.empty())
        watcher_.watch("", {});
}

void LogFollower::follow(const std::string& path) {
    path_ = path;
    startOver();
    if (path_.empty()) {
        watcher_.watch("", {});
        return;
    }
    std::ifstream in(path_, std::ios::binary);
    fileSeen_ = static_cast<bool>(in);
    if (fileSeen_) {
        // What is there already was written before we came: skip it, and the
        // rest of a line the game is writing at this moment.
        offset_ = endOf(in);
        if (offset_ > 0) {
            in.seekg(static_cast<std::streamoff>(offset_ - 1));
            skipping_ = in.get() != '\n';
        }
        sameBytesBeforeOffset(in); // fills lastBytes_
    }
    watcher_.watch(path_, [this] { readNew(); });
}

void LogFollower::startOver() {
    offset_ = 0;
    lastBytes_.clear();
    partial_.clear();
    skipping_ = false;
}

// Compares the bytes before offset_ with the remembered ones and remembers
// them anew; true when they are the same.
bool LogFollower::sameBytesBeforeOffset(std::istream& in) {
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uintmax_t>(offset_, kCheckBytes));
    std::string now(count, '\0');
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset_ - count));
    in.read(now.data(), static_cast<std::streamsize>(count));
    now.resize(static_cast<std::size_t>(in.gcount()));
    const bool same = now == lastBytes_;
    lastBytes_ = std::move(now);
    return same;
}

void LogFollower::readNew() {
    if (path_.empty())
        return;
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        // Gone: whatever appears under this name later is a new file.
        if (fileSeen_)
            startOver();
        fileSeen_ = false;
        return;
    }
    if (!fileSeen_)
        startOver();
    fileSeen_ = true;
    const std::uintmax_t end = endOf(in);
    if (end < offset_ || (offset_ > 0 && !sameBytesBeforeOffset(in)))
        startOver();

    in.clear();
    in.seekg(static_cast<std::streamoff>(offset_));
    // Made once: a notice per console line must not clear 64 KiB each time.
    if (chunk_.empty())
        chunk_.resize(kChunkBytes);
    char* chunk = chunk_.data();
    while (offset_ < end) {
        const auto want =
            static_cast<std::streamsize>(std::min<std::uintmax_t>(end - offset_, kChunkBytes));
        in.read(chunk, want);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        offset_ += got;
        const std::string_view bytes(chunk, got);
        lastBytes_.append(bytes.substr(got - std::min(got, kCheckBytes)));
        lastBytes_.erase(0, lastBytes_.size() - std::min(lastBytes_.size(), kCheckBytes));
        take(bytes);
    }
}

void LogFollower::take(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t lineEnd = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, lineEnd);
        if (!skipping_) {
            if (partial_.size() + piece.size() > kMaxLineBytes) {
                partial_.clear();
                skipping_ = true;
            } else {
                partial_.append(piece);
            }
        }
        if (lineEnd == std::string_view::npos)
            return;
        bytes.remove_prefix(lineEnd + 1);
        if (!skipping_) {
            std::string_view line = partial_;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            onLine_(line);
        }
        partial_.clear();
        skipping_ = false;
    }
}

} // namespace hh
