#pragma once
// File helpers shared by every subsystem that touches the game's or the
// program's files.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hh {

// Whole file as bytes; nullopt when it cannot be read or is no regular file
// (a folder in a file's place must not be read as an endless file). No file
// the program reads may be large: at most kReadCapBytes are read, so a
// caller's own smaller bound still sees a file that is too big.
inline constexpr std::size_t kReadCapBytes = std::size_t{64} << 20;
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Whether a replaced file must survive a crash of the whole system too
// (flushed to disk before the rename), or only a crash of the program.
enum class Durability { Flushed, ProcessCrashOnly };

// Replaces `path` with `bytes` so that a reader (or a crash) only ever sees
// the old or the new file: write a temporary file in the same folder, flush
// it to disk (Durability::Flushed), rename it over the target. Keeps the old
// file's permission bits. On failure returns false, leaves the old file as it
// was and says why.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error = nullptr, Durability durability = Durability::Flushed);

// A fresh name in the folder of `path` for the file that will replace it.
std::filesystem::path temporaryPathBeside(const std::filesystem::path& path);

// Creates an empty file when none exists; false when that fails.
bool ensureFileExists(const std::filesystem::path& path);

bool fileExists(const std::filesystem::path& path);

// Modification time in whole seconds as "YYYY-MM-DD HH:MM:SS" (UTC), or ""
// when there is no file. Converts back without losing whole seconds.
std::string modifiedTimeText(const std::filesystem::path& path);

} // namespace hh
