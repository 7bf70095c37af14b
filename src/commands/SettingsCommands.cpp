#include "commands/SettingsCommands.h"

#include "commands/Numeric.h"
#include "commands/ProgramControl.h"
#include "commands/Reply.h"
#include "commands/Texts.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/DumpWatcher.h"
#include "gamelink/GameScript.h"
#include "platform/Platform.h"
#include "settings/KeyNames.h"
#include "settings/Settings.h"

#include <array>
#include <utility>

namespace hh {
namespace {

constexpr const char* kMain = "Main";
constexpr const char* kBehavior = "Behavior";
constexpr const char* kReexecHint = "'. {Re-exec handleHound.cfg for changes to take effect}";

// A stored value as the queries show it: trimmed, the default when empty.
std::string shownValue(const std::string& stored, const std::string& fallback) {
    const std::string value = trimBlanks(stored);
    return value.empty() ? fallback : value;
}

// Stored wait names and the issue-delay levels the command speaks in.
constexpr std::array<std::pair<const char*, const char*>, 4> kWaitLevels = {
    {{"w1", "0"}, {"w2", "1"}, {"w2x2", "2"}, {"w2x4", "3"}}};

// A key name goes into the game-side script between quotes; game key names
// are short, so anything longer is no key.
bool isUsableKeyName(const std::string& name) {
    return name.size() <= 32 && safeScriptWord(name);
}

} // namespace

struct SettingsCommands::ColourSetting {
    const char* command; // as messages spell it
    const char* key;     // Behavior key
    const char* fallback;
    std::string SharedState::*field;
};

SettingsCommands::SettingsCommands(CommandContext ctx) : ctx_(ctx) {}

void SettingsCommands::numAliases(const std::string& argument) {
    if (argument.empty()) {
        replyStandard(ctx_, sounds::kDefault,
                      "numAliases = '" + shownValue(ctx_.settings.maxNumAliasesRaw(), "150") +
                          "' [Default = '150']");
        return;
    }
    const auto value = numericValue(argument);
    // No point allowed, but an exponent form is: "1e2" is stored as typed and means 100.
    if (!value || *value <= 0 || *value > 999 || contains(argument, ".")) {
        replyError(ctx_, "Error! Invalid argument - Number. {Command usage: '/hh numAliases "
                         "<Number>'} {Number must be an integer between 1 and 999, inclusive}");
        return;
    }
    ctx_.settings.write(kMain, "MaxNumAliases", argument);
    // Rounded as an assignment to a whole number rounds ("15e-1" is 2).
    ctx_.state.numAliases = static_cast<std::int16_t>(roundHalfEven(*value));
    replyStandard(ctx_, sounds::kDefault, "numAliases set to " + argument);
}

void SettingsCommands::sepColor(const std::string& argument) {
    static const ColourSetting setting{"sepColor", "SeparatorColor", "2", &SharedState::sepColor};
    colour(setting, argument);
}

void SettingsCommands::nameColor(const std::string& argument) {
    static const ColourSetting setting{"nameColor", "NameColor", "7", &SharedState::nameColor};
    colour(setting, argument);
}

void SettingsCommands::colour(const ColourSetting& setting, const std::string& argument) {
    const std::string command = setting.command;
    if (argument.empty()) {
        const std::string stored = trimBlanks(ctx_.settings.read(kBehavior, setting.key));
        const std::string digit = stored.empty() ? "" : stored.substr(stored.size() - 1);
        replyStandard(ctx_, sounds::kDefault,
                      command + " = '" + digit + "' [Default = '" + setting.fallback + "']");
        return;
    }
    if (argument.size() != 1 || argument[0] < '0' || argument[0] > '9') {
        // Both errors give nameColor as the example.
        replyError(ctx_, "Error! - " + command +
                             " must be a single digit number! {Example: '/hh nameColor 7'}");
        return;
    }
    const std::string code = "^" + argument;
    ctx_.settings.write(kBehavior, setting.key, code);
    ctx_.state.*setting.field = code;
    replyStandard(ctx_, sounds::kDefault, command + " set to '" + argument + "'");
}

struct SettingsCommands::KeySetting {
    const char* command;  // as messages spell it
    const char* nameKey;  // Behavior key of the game key name
    const char* codeKey;  // Behavior key of its virtual-key code
    const char* fallback; // the key while none is stored
};

const SettingsCommands::KeySetting SettingsCommands::kCommandKey{"commandKey", "CommandKey",
                                                                 "CommandKeyCode", "tab"};
const SettingsCommands::KeySetting SettingsCommands::kStatusKey{"statusKey", "StatusKey",
                                                                "StatusKeyCode", "f5"};

bool SettingsCommands::rebindKey(const KeySetting& setting, std::string& argument) {
    const std::string command = setting.command;
    std::string oldKey =
        shownValue(ctx_.settings.read(kBehavior, setting.nameKey), setting.fallback);
    if (argument.empty()) {
        replyStandard(ctx_, sounds::kDefault,
                      command + " = '" + oldKey + "' [Default = '" + setting.fallback + "']");
        return false;
    }
    if (!isUsableKeyName(argument)) {
        replyError(ctx_, "Error! Invalid argument - KeyName. {Command usage: '/hh " + command +
                             " <KeyName>'}");
        return false;
    }
    ctx_.gameScript.changeKeyBinding(oldKey, argument); // lower-cases `argument`
    return true;
}

void SettingsCommands::storeKey(const KeySetting& setting, const std::string& name) {
    ctx_.settings.write(kBehavior, setting.nameKey, name);
    ctx_.settings.write(kBehavior, setting.codeKey,
                        std::to_string(keyNameToCode(name, &ctx_.platform.dialogs)));
}

void SettingsCommands::commandKey(std::string argument) {
    if (!rebindKey(kCommandKey, argument))
        return;
    storeKey(kCommandKey, argument);
    ctx_.program.reregisterHotKey();
    ctx_.program.keyCodesChanged();
    replyStandard(ctx_, sounds::kDefault, "commandKey set to '" + argument + kReexecHint);
}

void SettingsCommands::statusKey(std::string argument) {
    if (!rebindKey(kStatusKey, argument))
        return;
    // The report goes out before the key is stored, so its status bar text
    // still names the key the game has bound until the script is re-executed.
    replyStandard(ctx_, sounds::kDefault, "Status/Results key set to '" + argument + kReexecHint);
    storeKey(kStatusKey, argument);
    ctx_.program.keyCodesChanged();
}

void SettingsCommands::issueDelay(const std::string& argument) {
    if (argument.empty()) {
        std::string level = shownValue(ctx_.settings.cmdIssueDelayRaw(), "w2x2");
        for (const auto& [wait, number] : kWaitLevels)
            if (level == wait) {
                level = number;
                break;
            }
        replyStandard(ctx_, sounds::kDefault,
                      "issueDelay = '" + level + "' [Default = '2', Range = '0-3']");
        return;
    }
    // Text without a leading number counts as 0: "abc" sets level 0.
    const double value = leadingNumber(argument);
    if (value < 0 || value > 3) {
        replyError(ctx_, "Error! Invalid issueDelay '" + argument + "'. Valid Range = '0-3'.");
        return;
    }
    ctx_.gameScript.changeCmdIssueDelay(static_cast<int>(roundHalfEven(value)));
    replyStandard(ctx_, sounds::kDefault, "issueDelay set to '" + argument + kReexecHint);
}

void SettingsCommands::mod(const std::string& argument) {
    if (argument.empty()) {
        replyStandard(ctx_, sounds::kDefault,
                      "mod = '" + ctx_.watcher.GetCurrentMod() +
                          "'. {Supported Mods = " + std::string(texts::kSupportedMods) + "}");
        return;
    }
    // toggleMod checks the mod and makes the result call itself.
    ctx_.watcher.toggleMod(argument, false);
}

} // namespace hh
