#include "setup/OptionsDialog.h"

#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/DumpPaths.h"
#include "gamelink/GameScript.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace hh {
namespace {

constexpr std::array<const char*, 4> kWaitNames = {"w1", "w2", "w2x2", "w2x4"};

std::optional<int> delayIndexOf(const std::string& waitName) {
    for (std::size_t i = 0; i < kWaitNames.size(); ++i)
        if (waitName == kWaitNames[i])
            return static_cast<int>(i);
    return std::nullopt;
}

std::string lastCharacter(const std::string& text) {
    return text.empty() ? std::string() : text.substr(text.size() - 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whole number 1..999 as plain digits; 0 when the text is anything else.
int aliasLimitOf(const std::string& text) {
    if (text.empty() || text.size() > 6)
        return 0;
    int value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return 0;
        value = value * 10 + (c - '0');
    }
    return value <= 999 ? value : 0;
}

// A folder or file name inside the game folder; "" stands for the default.
bool usableFileName(const std::string& name) {
    return name.empty() || (safeScriptWord(name) && name != "." && name != ".." &&
                            name.find_first_of("/\\") == std::string::npos);
}

bool usableWindowTitle(const std::string& title) {
    if (title.size() > 255)
        return false;
    for (const char c : title)
        if (static_cast<unsigned char>(c) < ' ')
            return false;
    return true;
}

} // namespace

bool refuseEqualKeys(const std::string& commandKey, const std::string& statusKey,
                     Platform& platform) {
    if (commandKey != statusKey)
        return false;
    platform.dialogs.messageBox("Command Exec Key can not be the same as Results/Status Key.",
                                MessageIcon::Exclamation);
    return true;
}

ColourKeyOutcome colourBoxKey(const std::string& currentText, char typed) {
    // The box keeps its first character selected, so a digit replaces it.
    if (!isDigit(typed))
        return {false, currentText};
    return {true, std::string(1, typed)};
}

OptionsDialogLogic::OptionsDialogLogic(OptionsView& view, SharedState& state, Settings& settings,
                                       Platform& platform, GameScript& gameScript,
                                       std::function<void()> reregisterHotKey,
                                       std::function<void()> keyCodesChanged)
    : view_(view), state_(state), settings_(settings), platform_(platform), gameScript_(gameScript),
      reregisterHotKey_(std::move(reregisterHotKey)), keyCodesChanged_(std::move(keyCodesChanged)) {
}

void OptionsDialogLogic::load() {
    keysChanged_ = false;
    view_.showMainTab();
    view_.setNumAliasesText(std::to_string(state_.numAliases));
    view_.setStartMinimized(settings_.startMinHH());
    view_.setStartAtLogin(platform_.shell.startsAtLogin(), platform_.shell.offersStartAtLogin());
    view_.setNameColorDigit(lastCharacter(settings_.nameColorRaw()));
    view_.setSepColorDigit(lastCharacter(settings_.sepColorRaw()));
    view_.fillKeyNameLists(keyNameList());
    view_.setCommandKeyText(settings_.commandKey());
    view_.setStatusKeyText(settings_.statusKey());
    // A stored name that is none of the four selects no button.
    delayIndex_ = delayIndexOf(settings_.cmdIssueDelayOr("w2"));
    view_.selectDelayOption(delayIndex_);
    view_.setGameWindowTitle(settings_.gameWindowTitle());
    view_.setBaseFolder(settings_.baseFolder());
    view_.setDumpFileName(settings_.dumpFileName());
}

bool OptionsDialogLogic::applyOptions() {
    bool allStored = applyNumAliases();
    allStored = applyColour(view_.nameColorDigit(), true) && allStored;
    settings_.setStartMinHH(view_.startMinimized());
    allStored = applyStartAtLogin() && allStored;
    allStored = applyColour(view_.sepColorDigit(), false) && allStored;

    const std::string commandKey = view_.commandKeyText();
    const std::string statusKey = view_.statusKeyText();
    if (refuseEqualKeys(commandKey, statusKey, platform_)) {
        allStored = false;
    } else {
        const bool commandChanged = applyKey(commandKey, true);
        const bool statusChanged = applyKey(statusKey, false);
        if ((commandChanged || statusChanged) && keyCodesChanged_)
            keyCodesChanged_();
    }

    const int index = delayIndex_.value_or(0);
    if (kWaitNames[static_cast<std::size_t>(index)] != settings_.cmdIssueDelayRaw()) {
        gameScript_.changeCmdIssueDelay(index);
        keysChanged_ = true;
    }
    allStored = applyEngineNames() && allStored;

    if (keysChanged_ && platform_.windows.findWindowByTitle(settings_.gameWindowTitle()) != 0) {
        platform_.dialogs.messageBox(
            "Please re-execute handleHound.cfg in Quake III Arena for changes to take effect.",
            MessageIcon::Information);
        keysChanged_ = false;
    }
    return allStored;
}

// The session's own entry is the setting: nothing of it goes into the
// settings file, so switching it off elsewhere shows here too.
bool OptionsDialogLogic::applyStartAtLogin() {
    const bool wanted = view_.startAtLogin();
    if (wanted == platform_.shell.startsAtLogin())
        return true;
    const std::string problem = platform_.shell.setStartAtLogin(wanted);
    if (problem.empty())
        return true;
    platform_.dialogs.messageBox("Error!  " + problem, MessageIcon::Exclamation);
    return false;
}

bool OptionsDialogLogic::applyNumAliases() {
    const std::string text = trimBlanks(view_.numAliasesText());
    const int limit = aliasLimitOf(text);
    if (limit == 0) {
        platform_.dialogs.messageBox(
            "Error!  Max number of Aliases must be a whole number from 1 to 999.",
            MessageIcon::Exclamation);
        return false;
    }
    settings_.setMaxNumAliases(text);
    state_.numAliases = static_cast<std::int16_t>(limit);
    return true;
}

bool OptionsDialogLogic::applyColour(const std::string& digit, bool name) {
    // The box filters typed keys, but pasted text gets past that filter.
    if (!digit.empty() && (digit.size() != 1 || !isDigit(digit[0]))) {
        platform_.dialogs.messageBox(std::string("Error!  ") +
                                         (name ? "Name Color" : "Separator Color") +
                                         " must be a single digit from 0 to 9.",
                                     MessageIcon::Exclamation);
        return false;
    }
    const std::string value = digit.empty() ? std::string() : "^" + digit;
    if (name) {
        settings_.setNameColorRaw(value);
        state_.nameColor = settings_.nameColorRaw();
    } else {
        settings_.setSepColorRaw(value);
        state_.sepColor = settings_.sepColorRaw();
    }
    return true;
}

// Returns true when the key changed (and its code was stored).
bool OptionsDialogLogic::applyKey(const std::string& listText, bool command) {
    std::string oldKey = command ? settings_.commandKey() : settings_.statusKey();
    std::string newKey = toLower(listText);
    if (newKey == oldKey)
        return false;
    gameScript_.changeKeyBinding(oldKey, newKey);
    const std::int32_t code = keyNameToCode(listText, &platform_.dialogs);
    if (command) {
        settings_.setCommandKey(newKey);
        settings_.setCommandKeyCode(code);
    } else {
        settings_.setStatusKey(newKey);
        settings_.setStatusKeyCode(code);
    }
    keysChanged_ = true;
    if (command && reregisterHotKey_)
        reregisterHotKey_();
    return true;
}

bool OptionsDialogLogic::applyEngineNames() {
    const std::string title = view_.gameWindowTitle();
    const std::string base = trimBlanks(view_.baseFolder());
    const std::string dumpName = trimBlanks(view_.dumpFileName());
    auto refuse = [&](const std::string& value, const char* what) {
        platform_.dialogs.messageBox("Error!  '" + value + "' can not be used as the " + what + ".",
                                     MessageIcon::Exclamation);
        return false;
    };
    bool allStored = true;
    // Only changes are written, so the defaults stay defaults in the file.
    if (!usableWindowTitle(title))
        allStored = refuse(title, "game window title");
    else if (title != settings_.gameWindowTitle())
        settings_.setGameWindowTitle(title);
    if (!usableFileName(base))
        allStored = refuse(base, "base folder");
    else if (!base.empty() && base != settings_.baseFolder())
        settings_.setBaseFolder(base);
    if (!usableFileName(dumpName))
        allStored = refuse(dumpName, "dump file name");
    else if (!dumpName.empty() && dumpName != settings_.dumpFileName())
        changeDumpFileName(dumpName);
    return allStored;
}

// The game must dump to the new name and the watcher must follow it.
void OptionsDialogLogic::changeDumpFileName(const std::string& name) {
    gameScript_.changeDumpFileName(settings_.dumpFileName(), name);
    settings_.setDumpFileName(name);
    keysChanged_ = true;
    if (state_.gDumpFileAbsPath.empty())
        return;
    const std::string dumpPath = modFolderPath(state_.gDumpFileAbsPath) + "/" + name;
    ensureFileExists(pathOf(dumpPath));
    settings_.setPath(dumpPath);
    if (dumpPathChanged_)
        dumpPathChanged_(dumpPath);
    else
        state_.gDumpFileAbsPath = dumpPath;
}

} // namespace hh
