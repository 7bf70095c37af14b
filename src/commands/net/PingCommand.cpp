#include "commands/net/PingCommand.h"

#include "commands/Reply.h"
#include "gamelink/ResultCall.h"
#include "platform/Platform.h"
#include "platform/Timer.h"

namespace hh {

namespace {
constexpr int kAnswerSeconds = 15;
}

PingCommand::PingCommand(CommandContext& ctx)
    : ctx_(ctx), worker_(ctx.platform.resolver, ctx.platform.icmp, ctx.platform.events) {}

void PingCommand::run(const std::string& argument) {
    if (argument.empty()) {
        replyError(ctx_, kPingMissingArgument);
        return;
    }
    if (worker_.busy()) {
        waiting_ = argument;
        return;
    }
    start(argument);
}

void PingCommand::start(const std::string& argument) {
    worker_.start(argument, [this](const PingAnswer& answer) { finish(answer); });
}

void PingCommand::finish(const PingAnswer& answer) {
    if (answer.isError)
        ctx_.result.readyForNextCmd("close.wav", answer.message, true, kAnswerSeconds, true, false,
                                    false);
    else
        ctx_.result.readyForNextCmd("default.wav", answer.message, true, kAnswerSeconds, true, true,
                                    false);
    if (!waiting_)
        return;
    const std::string next = *waiting_;
    waiting_.reset();
    // The result call just re-armed the watcher; keep it stopped for the next series.
    ctx_.modifiedCheck.stop();
    start(next);
}

} // namespace hh
