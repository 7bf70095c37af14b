#pragma once
// Sounds through PlaySound: asynchronous, one at a time, as the game's
// companion always played them.
#include "platform/SoundPlayer.h"

namespace hh {

class Win32SoundPlayer : public SoundPlayer {
  public:
    explicit Win32SoundPlayer(bool quiet) : quiet_(quiet) {}
    void play(const std::string& filePath) override;
    void beep() override;

  private:
    bool quiet_;
};

} // namespace hh
