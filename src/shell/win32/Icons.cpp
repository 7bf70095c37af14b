#include "shell/win32/Icons.h"

namespace hh::win32 {

HICON loadIconFile(const std::filesystem::path& file, int size) {
    return static_cast<HICON>(LoadImageW(nullptr, file.c_str(), IMAGE_ICON, size, size,
                                         LR_LOADFROMFILE | (size ? 0 : LR_DEFAULTSIZE)));
}

} // namespace hh::win32
