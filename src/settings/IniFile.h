#pragma once
// handleHound.ini: sections of key=value lines, CR LF line ends, names
// matched without regard to case, values kept byte for byte. Each call opens
// the file, does one lookup or one update, and closes it again.
#include <filesystem>
#include <string>
#include <string_view>

namespace hh {

// Value of the first matching key line, or "" (missing file, section or key,
// or an empty value). Creates a missing file, empty.
std::string INIread(const std::filesystem::path& fileName, std::string_view section,
                    std::string_view key);

// Sets the key in the section, creating both as needed, and rewrites the
// whole file atomically. Returns false and says why when the file cannot be
// written; the old file then stays as it was.
bool INIwrite(const std::filesystem::path& fileName, std::string_view section, std::string_view key,
              std::string_view value, std::string* error = nullptr);

// The writer's transformation on bytes, without touching a file.
std::string iniWithKey(std::string_view content, std::string_view section, std::string_view key,
                       std::string_view value);
// The reader's lookup on bytes.
std::string iniValue(std::string_view content, std::string_view section, std::string_view key);

} // namespace hh
