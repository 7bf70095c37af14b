#include "shell/win32/Icons.h"

namespace hh::win32 {

HICON loadIconFile(const std::filesystem::path& file, int size) {
    const UINT sizing = size ? 0 : LR_DEFAULTSIZE;
    if (auto icon = static_cast<HICON>(
            LoadImageW(nullptr, file.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE | sizing)))
        return icon;
    // The exe carries every shipped icon under its file's name.
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), file.stem().c_str(), IMAGE_ICON, size, size, sizing));
}

} // namespace hh::win32
