#pragma once
// Cutting the last "/hh " command the player typed out of the game's console
// dump.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hh {

// A dump larger than this is read only in its last part: the game appends,
// so the newest text is at the end.
inline constexpr std::size_t kMaxDumpBytes = std::size_t{64} << 20;

// The last line the player typed that starts with `prefix` (the engine
// echoes typed lines as "]" + text; "]\hh " counts as "]/hh "): the text
// after the line's last `prefix` up to the line end, or "empty" /
// "No_Command_Found". Quoted mentions ("'/hh") in that line are not commands.
std::string findCommandInText(std::string_view dump, std::string_view prefix);

// The same rule for one console line (the console log's): the command when
// the player typed the line, nullopt for any other line.
std::optional<std::string> typedCommandInLine(std::string_view line, std::string_view prefix);

// Reads the dump (creating it empty when missing) and applies the above. A
// dump that changes while it is read is read again.
std::string findCommandInDump(const std::filesystem::path& dumpPath, std::string_view prefix,
                              std::string* dumpText = nullptr);

// The dump's bytes as readDumpSettled reads them; a missing dump is created
// empty (so the watcher sees it from then on) and reads as "".
std::string readDumpCreatingIt(const std::filesystem::path& dumpPath);

// The dump's bytes (at most the last `maxBytes`), read so that a file the
// game is rewriting at this moment is not taken half-written; "" for a
// missing file.
std::string readDumpSettled(const std::filesystem::path& dumpPath,
                            std::size_t maxBytes = kMaxDumpBytes);

} // namespace hh
