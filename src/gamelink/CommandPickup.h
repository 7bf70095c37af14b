#pragma once
// Cutting the last "/hh " command out of the game's console dump.
#include <filesystem>
#include <string>
#include <string_view>

namespace hh {

// The text after the last occurrence of `prefix` up to the end of its line,
// or "empty" / "No_Command_Found". Quoted mentions ("'/hh") are not commands.
std::string findCommandInText(std::string_view dump, std::string_view prefix);

// Reads the dump (creating it empty when missing) and applies the above. A
// dump that changes while it is read is read again.
std::string findCommandInDump(const std::filesystem::path& dumpPath, std::string_view prefix);

// The dump's bytes, read so that a file the game is rewriting at this moment
// is not taken half-written; "" for a missing file.
std::string readDumpSettled(const std::filesystem::path& dumpPath);

} // namespace hh
