#pragma once
#include "platform/SoundPlayer.h"

namespace hh {

// Plays WAV files with the desktop's sound server (paplay, else aplay) in a
// detached process: returns at once and never blocks on a missing device.
class ProcessSoundPlayer : public SoundPlayer {
  public:
    explicit ProcessSoundPlayer(bool quiet = false) : quiet_(quiet) {}
    void play(const std::string& filePath) override;
    void beep() override;

  private:
    bool quiet_;
};

} // namespace hh
