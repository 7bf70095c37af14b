#pragma once
// Icons from the program folder's Icons/ files; a missing file shows nothing.
#include <windows.h>

#include <filesystem>

namespace hh::win32 {

// `size` in pixels, 0 for the file's own; nullptr when the file is missing.
HICON loadIconFile(const std::filesystem::path& file, int size);

} // namespace hh::win32
