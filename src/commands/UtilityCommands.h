#pragma once
// The commands that are neither settings nor lookups: quit, disable,
// heartbeat, clear, time, about, author, help, version, save and copy.
#include "commands/CommandContext.h"

#include <string>

namespace hh {

class UtilityCommands {
  public:
    explicit UtilityCommands(CommandContext ctx);

    void quit();
    void disable();
    void heartbeat();
    void clear();
    void time();
    void about();
    void author();
    void help();
    void version();
    void save(std::string argument);
    void copy(std::string argument);

  private:
    // Result that stays on the clipboard: (re-arm, seconds, log, clipboard, no refresh).
    void replyToClipboard(std::string_view sound, const std::string& message, int seconds);

    CommandContext ctx_;
};

// The product texts, shared with the about box.
std::string programDescription();
std::string authorDescription();
std::string versionMessage();

} // namespace hh
