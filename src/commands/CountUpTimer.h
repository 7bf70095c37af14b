#pragma once
// The timer command's count-up (tmrCountTo): shows 0, 1, 2, ... in the game
// once a second until the target is reached or "end" is given.
#include "commands/CommandContext.h"

#include <cstdint>
#include <string>

namespace hh {

class CountUpTimer {
  public:
    // Takes over tmrCountTo's callback.
    explicit CountUpTimer(CommandContext ctx);

    // The timer command. A count already running goes on from where it is.
    void startCountTimer(const std::string& target);
    // tmrCountTo's tick.
    void onTick();

    std::int64_t count() const { return timerCount_; }

  private:
    CommandContext ctx_;
    std::string timerTarget_;
    // 64 bits: a target above 32767 simply counts on; at one tick a second
    // this never overflows, and "end" stops any count.
    std::int64_t timerCount_ = 0;
};

} // namespace hh
