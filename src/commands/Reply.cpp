#include "commands/Reply.h"

#include "commands/CommandContext.h"
#include "commands/Texts.h"
#include "gamelink/DumpWatcher.h"
#include "gamelink/ResultCall.h"
#include "settings/Settings.h"

namespace hh {

void replyStandard(CommandContext& ctx, std::string_view sound, const std::string& message) {
    ctx.result.readyForNextCmd(std::string(sound), message, true, 15, true, false, false);
}

void replyError(CommandContext& ctx, const std::string& message) {
    replyStandard(ctx, sounds::kClose, message);
}

std::string commandKeyName(const CommandContext& ctx) {
    return ctx.settings.commandKey();
}

std::string dumpInModText(const CommandContext& ctx) {
    return ctx.watcher.GetCurrentMod() + "\\" + ctx.settings.dumpFileName();
}

} // namespace hh
