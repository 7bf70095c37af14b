#pragma once
// Icons from the program folder's Icons/ files, else the one of the same
// name in the exe; an icon in neither shows nothing.
#include <windows.h>

#include <filesystem>

namespace hh::win32 {

// `size` in pixels, 0 for the file's own; nullptr when neither has it.
HICON loadIconFile(const std::filesystem::path& file, int size);

} // namespace hh::win32
