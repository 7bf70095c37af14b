#include "platform/win32/Win32SoundPlayer.h"

#include "common/PathText.h"

#include <windows.h>

#include <mmsystem.h> // after windows.h, which it needs

#include <filesystem>

namespace hh {

void Win32SoundPlayer::play(const std::string& filePath) {
    if (quiet_)
        return;
    // The program folder's file, else the exe's sound of that name; with
    // SND_NODEFAULT a sound in neither plays nothing rather than the system's ding.
    const std::filesystem::path file = pathOf(filePath);
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec))
        PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    else
        PlaySoundW(file.stem().c_str(), GetModuleHandleW(nullptr),
                   SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

void Win32SoundPlayer::beep() {
    if (!quiet_)
        MessageBeep(MB_OK);
}

} // namespace hh
