#include "gamelink/GameScript.h"

#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/DumpPaths.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace hh {
namespace fs = std::filesystem;
namespace {

constexpr const char* kScriptName = "handleHound.cfg";
constexpr const char* kBackupName = "handleHound.BACKUP";
constexpr const char* kShippedDumpName = "handleHound.who";
constexpr const char* kCrLf = "\r\n";
constexpr const char* kDelaySequence = "vstr part1; vstr ";
constexpr const char* kNotePrefix = "//Modified by Handlehound - ";
constexpr const char* kLogOn = "set logfile 2";
constexpr const char* kLogOff = "//set logfile 2";
constexpr const char* kKeyScriptMissing = "Error!  'handleHound.cfg' not found in '\\baseq3'.";
// Our script is a few hundred bytes and a q3config.cfg a few dozen KiB;
// anything far larger is not a file this upkeep should load and rewrite.
constexpr std::size_t kMaxFileBytes = 4u << 20;

std::optional<std::string> readBounded(const fs::path& path) {
    auto text = readWholeFile(path);
    if (!text || text->size() > kMaxFileBytes)
        return std::nullopt;
    return text;
}

// Appends the exec line unless the file already runs it. The game writes its
// files with LF, the program with CR LF; a line ended either way counts.
void ensureExecLine(const fs::path& file, const std::string& execLine) {
    std::string text;
    if (fileExists(file)) {
        auto read = readBounded(file);
        if (!read)
            return;
        text = std::move(*read);
    }
    if (contains(text, execLine + kCrLf) || contains(text, execLine + "\n"))
        return;
    // Keeps the file's mode bits, so a read-only q3config.cfg stays read-only.
    writeFileAtomically(file, text + kCrLf + execLine + kCrLf);
}

} // namespace

std::string waitNameForDelay(int delayVal) {
    static const std::array<const char*, 4> names = {"w1", "w2", "w2x2", "w2x4"};
    if (delayVal < 0 || delayVal > 3)
        delayVal = 2;
    return names[static_cast<std::size_t>(delayVal)];
}

bool safeScriptWord(const std::string& word) {
    if (word.empty() || contains(word, "//") || contains(word, "/*"))
        return false;
    for (const char c : word) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 127 || c == '"' || c == ';')
            return false;
    }
    return true;
}

std::string changeNoteDate(const Platform& platform) {
    const std::time_t t = std::chrono::system_clock::to_time_t(platform.clock.now());
    const std::tm* local = std::localtime(&t);
    if (!local)
        return "?";
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", local);
    return text;
}

GameScript::GameScript(SharedState& state, Settings& settings, Platform& platform)
    : state_(state), settings_(settings), platform_(platform) {}

std::string GameScript::installedScriptPath() const {
    return gameFolderPath(state_.gDumpFileAbsPath) + settings_.baseFolder() + "/" + kScriptName;
}

bool GameScript::editScript(const char* missingMessage, const std::string& newWord,
                            const std::string& refusal,
                            const std::function<std::string(const std::string&)>& edit,
                            const std::string& note) {
    const fs::path path = pathOf(installedScriptPath());
    const auto text = fileExists(path) ? readBounded(path) : std::nullopt;
    if (!text) {
        platform_.dialogs.messageBox(missingMessage, MessageIcon::Exclamation);
        return false;
    }
    // The new word goes between quotes or after condump: a quote or ';' in it
    // would make the game run whatever follows.
    if (!safeScriptWord(newWord)) {
        platform_.dialogs.messageBox("Error!  '" + newWord + "' " + refusal,
                                     MessageIcon::Exclamation);
        return false;
    }
    std::string why;
    if (writeFileAtomically(
            path, edit(*text) + kNotePrefix + changeNoteDate(platform_) + note + kCrLf, &why))
        return true;
    platform_.dialogs.messageBox("Error!  handleHound.cfg could not be changed: " + why,
                                 MessageIcon::Exclamation);
    return false;
}

bool GameScript::changeCmdIssueDelay(int delayVal) {
    const std::string oldName = settings_.cmdIssueDelayOr("w2");
    const std::string newName = waitNameForDelay(delayVal);
    // An old name the script does not hold replaces nothing; the note and the
    // setting are still written, so the setting follows what was asked for.
    auto edit = [&](const std::string& text) {
        return replaceAll(text, kDelaySequence + oldName + ";", kDelaySequence + newName + ";");
    };
    if (!editScript("Error!  handleHound.cfg not found in \\baseq3!", newName, "", edit,
                    " - Set Command Issue Delay to: '" + newName + "'"))
        return false;
    settings_.setCmdIssueDelay(newName);
    return true;
}

bool GameScript::changeKeyBinding(std::string& oldKey, std::string& newKey) {
    oldKey = toLower(oldKey);
    newKey = toLower(newKey);
    auto edit = [&](const std::string& text) {
        // An empty old name would turn every "" (set hh "") into a key.
        return oldKey.empty() ? text : replaceAll(text, "\"" + oldKey + "\"", "\"" + newKey + "\"");
    };
    return editScript(kKeyScriptMissing, newKey, "can not be bound in handleHound.cfg.", edit,
                      " - Changed '" + oldKey + "' to '" + newKey + "'");
}

bool GameScript::changeDumpFileName(const std::string& oldName, const std::string& newName) {
    auto edit = [&](const std::string& text) {
        return replaceAll(text, "condump " + oldName, "condump " + newName);
    };
    return editScript(kKeyScriptMissing, newName, "can not be used as the dump file name.", edit,
                      " - Changed dump file '" + oldName + "' to '" + newName + "'");
}

bool GameScript::applyConsoleLogSetting() {
    const std::string path = installedScriptPath();
    const auto text = fileExists(path) ? readBounded(path) : std::nullopt;
    if (!text)
        return false;
    const bool on = settings_.consoleLog();
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text->size();) {
        const std::size_t end = std::min(text->find('\n', start), text->size());
        lines.push_back(text->substr(start, end - start));
        start = end + 1;
    }
    bool found = false;
    for (std::string& line : lines) {
        const bool crlf = endsWith(line, "\r");
        const std::string bare = crlf ? line.substr(0, line.size() - 1) : line;
        if (bare == kLogOn || bare == kLogOff) {
            line = std::string(on ? kLogOn : kLogOff) + (crlf ? "\r" : "");
            found = true;
        }
    }
    std::string edited;
    for (std::size_t i = 0; i < lines.size(); ++i)
        edited += lines[i] + (i + 1 < lines.size() || endsWith(*text, "\n") ? "\n" : "");
    if (!found && on)
        edited +=
            (edited.empty() || endsWith(edited, "\n") ? "" : kCrLf) + std::string(kLogOn) + kCrLf;
    return edited == *text || writeFileAtomically(path, edited);
}

void GameScript::addExecLine(const std::string& scriptFileName) {
    const std::string name = scriptFileName.empty() ? kScriptName : scriptFileName;
    if (!safeScriptWord(name) || state_.gDumpFileAbsPath.empty())
        return;
    const std::string execLine = "exec " + name;
    const fs::path baseFolder =
        pathOf(gameFolderPath(state_.gDumpFileAbsPath) + settings_.baseFolder());
    ensureExecLine(pathOf(modFolderPath(state_.gDumpFileAbsPath)) / "q3config.cfg", execLine);
    ensureExecLine(baseFolder / "q3config.cfg", execLine);
    // The game rewrites q3config.cfg from scratch on every bind or archived
    // variable change, so the line there lasts one start at most; autoexec.cfg
    // runs after it at every start and is never written by the game.
    ensureExecLine(baseFolder / "autoexec.cfg", execLine);
}

bool GameScript::installGameScript(std::string* error) {
    const fs::path programDir = platform_.paths.programDir();
    const fs::path shipped = programDir / kScriptName;
    const fs::path backup = programDir / kBackupName;
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!fileExists(shipped) && !fileExists(backup)) {
        settings_.setCfgAt("RequestManualMove");
        platform_.dialogs.messageBox(
            "Error!  " + textOf(programDir) +
                "  -  Does not contain files handleHound.cfg or handleHound.BACKUP" + kCrLf +
                "Please move 'handleHound.cfg' into your \\baseq3 folder manually.",
            MessageIcon::Exclamation);
        return false;
    }
    std::string why;
    // An earlier installation took the shipped copy away: restore it from the backup.
    if (!fileExists(shipped)) {
        const auto saved = readBounded(backup);
        if (!saved)
            return fail("cannot read '" + textOf(backup) + "'");
        if (!writeFileAtomically(shipped, *saved, &why))
            return fail(why);
    }
    const auto script = readBounded(shipped);
    if (!script)
        return fail("cannot read '" + textOf(shipped) + "'");

    const std::string dumpName = settings_.dumpFileName();
    if (!safeScriptWord(dumpName))
        return fail("the dump file name '" + dumpName + "' can not stand in handleHound.cfg");
    const std::string installed =
        dumpName == kShippedDumpName
            ? *script
            : replaceAll(*script, std::string("condump ") + kShippedDumpName,
                         "condump " + dumpName);
    const std::string target = installedScriptPath();
    if (!writeFileAtomically(pathOf(target), installed, &why) ||
        !writeFileAtomically(backup, *script, &why))
        return fail(why);
    std::error_code ec;
    fs::remove(shipped, ec);
    settings_.setCfgAt(target);
    applyConsoleLogSetting();
    return true;
}

} // namespace hh
