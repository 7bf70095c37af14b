#include "platform/win32/Win32SoundPlayer.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <mmsystem.h> // after windows.h, which it needs

namespace hh {

void Win32SoundPlayer::play(const std::string& filePath) {
    if (quiet_)
        return;
    // SND_NODEFAULT: a missing file plays nothing rather than the system's ding.
    PlaySoundW(wideFromUtf8(filePath).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void Win32SoundPlayer::beep() {
    if (!quiet_)
        MessageBeep(MB_OK);
}

} // namespace hh
