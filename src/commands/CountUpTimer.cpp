#include "commands/CountUpTimer.h"

#include "commands/Numeric.h"
#include "commands/Texts.h"
#include "common/Strings.h"
#include "gamelink/ResultCall.h"
#include "gamelink/ResultScript.h"
#include "platform/Timer.h"

namespace hh {
namespace {
constexpr int kFirstTickMs = 50;
constexpr int kTickMs = 1000;
} // namespace

CountUpTimer::CountUpTimer(CommandContext ctx) : ctx_(ctx) {
    ctx_.countTo.setCallback([this] { onTick(); });
}

void CountUpTimer::startCountTimer(const std::string& target) {
    timerTarget_ = target;
    ctx_.clearClip.stop();
    // The count's 0 shows almost at once; later ticks come once a second.
    // No pause after starting: blocking the UI thread would only hold up
    // the first tick.
    ctx_.countTo.setInterval(kFirstTickMs);
    ctx_.countTo.start();
    // "none" leaves the script to the ticks; refresh so the dump the game
    // wrote for this command is not taken for a new one.
    ctx_.result.readyForNextCmd("", "none", true, -1, false, false, true);
}

void CountUpTimer::onTick() {
    if (ctx_.countTo.interval() == kFirstTickMs)
        ctx_.countTo.setInterval(kTickMs);

    const double target = leadingNumber(timerTarget_);
    if (timerTarget_ == "end" || target <= static_cast<double>(timerCount_)) {
        ctx_.countTo.stop();
        ctx_.result.readyForNextCmd(std::string(sounds::kComplete),
                                    std::to_string(timerCount_) + " Second Timer has Expired. " +
                                        std::string(texts::kWaitingForCommand),
                                    true, 15, false, false, true);
        timerCount_ = 0;
        return;
    }
    // The leading blank is the sign position of a non-negative number.
    ctx_.writer.writeResultScript(concat({" ", std::to_string(timerCount_)}));
    if (timerCount_ % 5 == 0)
        ctx_.result.playSound(std::string(sounds::kCmd));
    ++timerCount_;
}

} // namespace hh
