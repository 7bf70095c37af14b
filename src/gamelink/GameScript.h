#pragma once
// Upkeep of the game-side script handleHound.cfg and of the exec lines in
// the game's configuration files.
#include <functional>
#include <string>

namespace hh {

struct SharedState;
struct Platform;
class Settings;

class GameScript {
  public:
    GameScript(SharedState& state, Settings& settings, Platform& platform);

    // Sets the wait the command key uses (0..3; anything else counts as 2).
    // False when the script is missing or could not be rewritten (the user
    // was told); the stored delay then stays as it was.
    bool changeCmdIssueDelay(int delayVal);
    // Both names are turned to lower case in the caller's variables. False
    // when the script is missing, could not be rewritten, or the new name
    // cannot stand in a bind (the user was told).
    bool changeKeyBinding(std::string& oldKey, std::string& newKey);
    // Points the script's condump commands at another dump file name.
    bool changeDumpFileName(const std::string& oldName, const std::string& newName);
    // Makes the game execute the script at start: an exec line in the mod's
    // and the base folder's q3config.cfg, and in the base folder's
    // autoexec.cfg (the game rewrites q3config.cfg, never autoexec.cfg).
    // Failures are skipped silently.
    void addExecLine(const std::string& scriptFileName);
    // Makes the installed script switch the engine's console log on or off as
    // the ConsoleLog setting says: its "set logfile 2" line stays, becomes a
    // comment, or is added to a script installed before it existed. Silent;
    // false when the script is missing or could not be rewritten.
    bool applyConsoleLogSetting();
    // Installs the shipped script from the program folder. False when there
    // was nothing to install (the user was told) or a copy failed (`error`
    // says why).
    bool installGameScript(std::string* error = nullptr);

    // <game folder><base folder>/handleHound.cfg
    std::string installedScriptPath() const;

  private:
    // Reads the installed script (or shows `missingMessage`), refuses a
    // `newWord` that cannot stand in it, and rewrites it edited, with a note.
    bool editScript(const char* missingMessage, const std::string& newWord,
                    const std::string& refusal,
                    const std::function<std::string(const std::string&)>& edit,
                    const std::string& note);

    SharedState& state_;
    Settings& settings_;
    Platform& platform_;
};

// Wait name of an issue delay: w1, w2, w2x2, w2x4 for 0..3; other values use 2.
std::string waitNameForDelay(int delayVal);
// A key or file name that can stand in the script between double quotes or
// after exec: no blanks, control bytes, quotes, ';' or comment starts.
bool safeScriptWord(const std::string& word);
// The date written into change notes, e.g. "2026-12-05" (local time).
std::string changeNoteDate(const Platform& platform);

} // namespace hh
