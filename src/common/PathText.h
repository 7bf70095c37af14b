#pragma once
// Paths travel through the logic as text: the settings file, messages and
// the dump's path hold them. The text is UTF-8, and folders end at '/' (on
// Windows at '\' too: players type either).
#include "common/HostSystem.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace hh {

// "/", or "/\" on Windows.
constexpr std::string_view folderSeparators(HostSystem system = kHostSystem) {
    return system == HostSystem::Windows ? "/\\" : "/";
}

// A name that stays one folder inside its parent: not empty, not "." or "..",
// no separator, no NUL, and on Windows none of the characters it refuses in
// names (a drive's ':' among them).
bool isPlainFolderName(std::string_view name, HostSystem system = kHostSystem);

// The crossings between text and std::filesystem. A plain std::string would
// be read in the C library's code page on Windows, which loses every
// character outside it; these always mean UTF-8, and textOf writes '/'
// between folders on every system.
std::filesystem::path pathOf(std::string_view text);
std::string textOf(const std::filesystem::path& path);

} // namespace hh
