#pragma once
#include <filesystem>

namespace hh {

// An XDG base folder: the variable (XDG_CONFIG_HOME ...) when it holds an
// absolute path (the rules say to ignore anything else), else its default
// under $HOME (".config" ...).
std::filesystem::path xdgBaseFolder(const char* variable, const char* defaultUnderHome);

} // namespace hh
