#pragma once
// The result calls the handlers end with, and the names their messages use.
#include <string>
#include <string_view>

namespace hh {

struct CommandContext;

// Sound, message, then (re-arm, 15 s expiry, log, no clipboard, no refresh):
// the tuple most commands end with.
void replyStandard(CommandContext& ctx, std::string_view sound, const std::string& message);
// An error: "close.wav" with the standard tuple.
void replyError(CommandContext& ctx, const std::string& message);

// The Command key's game name (K in the messages).
std::string commandKeyName(const CommandContext& ctx);
// The dump file as messages name it: current mod, a backslash, the dump's
// file name. Messages keep the backslash on every system.
std::string dumpInModText(const CommandContext& ctx);

} // namespace hh
