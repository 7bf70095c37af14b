#pragma once
// The commands that show or change a setting: numAliases, sepColor,
// nameColor, commandKey, statusKey, issueDelay and mod. Without an argument
// each reports the stored value and its default.
#include "commands/CommandContext.h"

#include <string>

namespace hh {

class SettingsCommands {
  public:
    explicit SettingsCommands(CommandContext ctx);

    void numAliases(const std::string& argument);
    void sepColor(const std::string& argument);
    void nameColor(const std::string& argument);
    void commandKey(std::string argument);
    void statusKey(std::string argument);
    void issueDelay(const std::string& argument);
    void mod(const std::string& argument);

  private:
    struct ColourSetting;
    void colour(const ColourSetting& setting, const std::string& argument);
    struct KeySetting;
    static const KeySetting kCommandKey, kStatusKey;
    // Reports the key (no argument) or refuses an unusable name, answering
    // false; otherwise re-binds the game-side script to `argument`, which
    // comes back lower-cased.
    bool rebindKey(const KeySetting& setting, std::string& argument);
    void storeKey(const KeySetting& setting, const std::string& name);

    CommandContext ctx_;
};

} // namespace hh
