#include "gamelink/CommandPickup.h"

#include "common/Strings.h"
#include "platform/Files.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace hh {
namespace {
namespace fs = std::filesystem;

constexpr const char* kNoCommand = "No_Command_Found";
// The program's own help and error texts quote the prefix after a single
// quote ('/hh help'); a typed line that quotes one the same way is not
// taken for a second command inside it.
constexpr std::string_view kQuotedMention = "'/hh";

// A reader can meet the dump while the game rewrites it. Retrying is
// bounded: at most this many reads, a short pause between them.
constexpr int kReadAttempts = 25;
constexpr auto kRetryPause = std::chrono::milliseconds(2);
// An empty dump this fresh is one the game has just truncated: a finished
// dump always holds at least the engine's "Dumped console text" line.
constexpr auto kFreshlyTruncated = std::chrono::seconds(1);

struct FileSnapshot {
    bool exists = false;
    std::uintmax_t size = 0;
    fs::file_time_type modified{};
    bool operator==(const FileSnapshot&) const = default;
};

FileSnapshot snapshotOf(const fs::path& path) {
    std::error_code ec;
    FileSnapshot snap;
    if (!fs::is_regular_file(path, ec))
        return snap;
    snap.size = fs::file_size(path, ec);
    if (ec)
        return snap;
    snap.modified = fs::last_write_time(path, ec);
    snap.exists = !ec;
    return snap;
}

// The last `maxBytes` of the `size` bytes the file had; false when fewer
// bytes than that could be read.
bool readTail(const fs::path& path, std::uintmax_t size, std::size_t maxBytes, std::string& bytes) {
    const std::uintmax_t wanted = std::min<std::uintmax_t>(size, maxBytes);
    bytes.assign(static_cast<std::size_t>(wanted), '\0');
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(static_cast<std::streamoff>(size - wanted));
    in.read(bytes.data(), static_cast<std::streamsize>(wanted));
    const auto got = static_cast<std::size_t>(in.gcount());
    bytes.resize(got);
    return got == wanted;
}

bool freshlyTruncated(const FileSnapshot& snap) {
    return snap.size == 0 && fs::file_time_type::clock::now() - snap.modified < kFreshlyTruncated;
}

// The last match is looked for block by block from the end. Testing a
// whole block at once, with every byte compared and no branch, lets the
// compiler use vector compares, so any dump, however hostile (a console full
// of slashes), costs a fraction of a microsecond per kilobyte; a command in
// the last lines is found at once.
constexpr std::size_t kBlock = 64;

// Whether a match may start in [from, from + kBlock); `from` is followed by
// at least kBlock + pattern.size() - 1 bytes.
bool blockMayMatch(const char* from, std::string_view pattern) {
    std::array<unsigned char, kBlock> hit;
    hit.fill(1);
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const char want = pattern[k];
        for (std::size_t j = 0; j < kBlock; ++j)
            hit[j] &= static_cast<unsigned char>(from[j + k] == want);
    }
    unsigned char any = 0;
    for (unsigned char h : hit)
        any |= h;
    return any != 0;
}

std::size_t lastOccurrence(std::string_view text, std::string_view pattern) {
    const std::size_t m = pattern.size();
    if (text.size() < m)
        return std::string_view::npos;
    const auto lastIn = [&](std::size_t from, std::size_t to) {
        for (std::size_t pos = to; pos-- > from;)
            if (text.compare(pos, m, pattern) == 0)
                return pos;
        return std::string_view::npos;
    };
    std::size_t end = text.size() - m + 1; // windows start before this
    for (; end >= kBlock; end -= kBlock)
        if (blockMayMatch(text.data() + end - kBlock, pattern))
            if (const std::size_t pos = lastIn(end - kBlock, end); pos != std::string_view::npos)
                return pos;
    return lastIn(0, end);
}

// One left-to-right pass, in place: text that a removal joins together is
// not looked at again.
void eraseQuotedMentions(std::string& text) {
    std::size_t in = text.find(kQuotedMention);
    if (in == std::string::npos)
        return;
    std::size_t out = in;
    while (in != std::string::npos) {
        in += kQuotedMention.size();
        const std::size_t next = text.find(kQuotedMention, in);
        const std::size_t end = next == std::string::npos ? text.size() : next;
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(in),
                  text.begin() + static_cast<std::ptrdiff_t>(end),
                  text.begin() + static_cast<std::ptrdiff_t>(out));
        out += end - in;
        in = next;
    }
    text.resize(out);
}

// The forms in which a typed command line starts. The player may type the
// prefix with a backslash instead of the slash: the engine runs both alike.
std::vector<std::string> typedLineStarts(std::string_view prefix) {
    std::vector<std::string> starts{concat({"]", prefix})};
    if (prefix.starts_with('/'))
        starts.push_back(concat({"]\\", prefix.substr(1)}));
    return starts;
}

// Where the last line that starts with one of `starts` begins, or npos.
// Each further form is looked for only after the line found so far.
std::size_t lastLineStartingWith(std::string_view text, const std::vector<std::string>& starts) {
    constexpr std::size_t npos = std::string_view::npos;
    std::size_t found = npos;
    for (const std::string& start : starts) {
        const std::size_t from = found == npos ? 0 : found;
        const std::size_t at = lastOccurrence(text.substr(from), "\n" + start);
        if (at != npos)
            found = from + at + 1;
        else if (found == npos && text.starts_with(start))
            found = 0;
    }
    return found;
}

// The command of a line that starts with one of `starts`.
std::string commandOfTypedLine(std::string line, const std::vector<std::string>& starts,
                               std::string_view prefix) {
    // A backslash line reads as the same line typed with a slash.
    line.replace(0, starts.front().size(), starts.front());
    eraseQuotedMentions(line);
    // The prefix after "]" survives the removal: no quote stands before it.
    const std::size_t at = lastOccurrence(line, prefix);
    if (at == std::string_view::npos)
        return kNoCommand;
    std::string command;
    command.reserve(line.size() - at - prefix.size());
    for (char c : std::string_view(line).substr(at + prefix.size()))
        if (c != '\r')
            command.push_back(c);
    return command;
}

// Only a line the player typed is read: the engine echoes it as "]" and the
// text. Chat, player names and server prints reach the dump too, and other
// players choose those.
std::string pickCommand(std::string_view text, std::string_view prefix) {
    if (text.empty())
        return "empty";
    const auto starts = typedLineStarts(prefix);
    const std::size_t begin = lastLineStartingWith(text, starts);
    if (begin == std::string_view::npos)
        return kNoCommand;
    return commandOfTypedLine(std::string(text.substr(begin, text.find('\n', begin) - begin)),
                              starts, prefix);
}

} // namespace

std::optional<std::string> typedCommandInLine(std::string_view line, std::string_view prefix) {
    const auto starts = typedLineStarts(prefix);
    for (const std::string& start : starts)
        if (line.starts_with(start))
            return commandOfTypedLine(std::string(line), starts, prefix);
    return std::nullopt;
}

std::string findCommandInText(std::string_view dump, std::string_view prefix) {
    return pickCommand(dump, prefix);
}

std::string findCommandInDump(const fs::path& dumpPath, std::string_view prefix,
                              std::string* dumpText) {
    std::string text = readDumpCreatingIt(dumpPath);
    std::string command = pickCommand(text, prefix);
    if (dumpText)
        *dumpText = std::move(text);
    return command;
}

std::string readDumpCreatingIt(const fs::path& dumpPath) {
    // A dump created here is empty: no need to wait for it to settle.
    if (!fileExists(dumpPath)) {
        ensureFileExists(dumpPath);
        return {};
    }
    return readDumpSettled(dumpPath);
}

std::string readDumpSettled(const fs::path& dumpPath, std::size_t maxBytes) {
    std::string bytes;
    for (int attempt = 1;; ++attempt) {
        const FileSnapshot before = snapshotOf(dumpPath);
        if (!before.exists)
            return {};
        const bool complete = readTail(dumpPath, before.size, maxBytes, bytes);
        const bool settled =
            complete && snapshotOf(dumpPath) == before && !freshlyTruncated(before);
        if (settled || attempt >= kReadAttempts)
            return bytes;
        std::this_thread::sleep_for(kRetryPause);
    }
}

} // namespace hh
