#pragma once
#include <string>

namespace hh {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Plays a sound file asynchronously; returns at once. A missing file plays
    // the platform's default sound, or nothing.
    virtual void play(const std::string& filePath) = 0;
    // The short system beep (refused keys, full tables).
    virtual void beep() = 0;
};

} // namespace hh
