#pragma once
// The catalogue of handleHound.ini: one accessor per key. Each reader applies
// the default its callers expect; where callers differ, there is one accessor
// per meaning. Every read goes to the file (it is small and read rarely).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace hh {

class Settings {
  public:
    // `onWriteError` hears about a write that failed (the file stays as it
    // was); the program shows it in the console pane and on standard error.
    explicit Settings(std::filesystem::path iniPath,
                      std::function<void(const std::string&)> onWriteError = {});

    const std::filesystem::path& iniPath() const { return iniPath_; }
    void setOnWriteError(std::function<void(const std::string&)> onWriteError) {
        onWriteError_ = std::move(onWriteError);
    }
    std::string read(const std::string& section, const std::string& key) const;
    bool write(const std::string& section, const std::string& key, const std::string& value);

    // Main
    std::string path() const; // "" = not set up
    void setPath(const std::string& dumpPath);
    std::string cfgAt() const;
    void setCfgAt(const std::string& value);
    std::string configPath() const;
    void setConfigPath(const std::string& value);
    bool isDeveloper() const; // ID == "Developer"
    void setDeveloper(bool on);
    bool isNewUser() const; // NewUser "Yes" or empty
    void setNewUserSeen();  // writes "No"
    bool startMin() const;  // StartMin == "True"
    void setStartMin(bool on);
    bool startMinHH() const; // StartMinHH == "True"
    void setStartMinHH(bool on);
    std::string maxNumAliasesRaw() const;  // as stored, for the numAliases query
    std::int16_t numAliasesAtLoad() const; // numeric value, 150 when empty or 0
    std::string cmdIssueDelayRaw() const;  // as stored (empty allowed)
    std::string cmdIssueDelayOr(const std::string& fallback) const;
    void setMaxNumAliases(const std::string& text);
    void setCmdIssueDelay(const std::string& waitName);

    // Main, names real engines need (defaults are the original game's)
    std::string dumpFileName() const;    // DumpFileName, "handleHound.who"
    std::string baseFolder() const;      // BaseFolder, "baseq3"
    std::string gameWindowTitle() const; // GameWindowTitle, "Quake 3: Arena"
    // LookupURL, blanks and trailing slashes trimmed; "" when it names the
    // program's own alias database: unset, empty, or the fixed address older
    // versions gave that service (kFormerOwnLookupUrl).
    std::string lookupUrl() const;
    bool recordSightings() const; // RecordSightings, anything but "False" is true
    // ConsoleLog: the game-side script switches the engine's console log on
    // and typed commands are answered from it; anything but "False" is true.
    bool consoleLog() const;
    std::string consoleLogName() const; // ConsoleLogName, "qconsole.log"
    // GUIDs never recorded: NeverRecord (separated by blanks or commas) and
    // OwnGuid (the player's own, learned or set by hand), both as stored.
    std::string neverRecordRaw() const;
    std::string ownGuid() const;
    void setOwnGuid(const std::string& guid);
    void setDumpFileName(const std::string& name);
    void setBaseFolder(const std::string& name);
    void setGameWindowTitle(const std::string& title);
    void setConsoleLogName(const std::string& name);

    // Behavior
    std::string nameColorRaw() const; // NameColor, no default
    std::string sepColorRaw() const;  // SeparatorColor, no default
    std::string commandKey() const;   // CommandKey, "tab"
    std::string statusKey() const;    // StatusKey, "f5"
    // AliasOrder: "Page" keeps the database page's order (newest first);
    // anything else lists the most used names first.
    bool aliasesInPageOrder() const;
    // Codes: an empty, non-numeric or out-of-range value reads as the default key's code
    // (tab 9, f5 116), so a first run that kept the offered keys works.
    std::int32_t commandKeyCode() const;
    std::int32_t statusKeyCode() const;
    void setNameColorRaw(const std::string& value); // "^7" style or ""
    void setSepColorRaw(const std::string& value);
    // Callers store a key as its name first, then its code.
    void setCommandKey(const std::string& name);
    void setCommandKeyCode(std::int32_t code);
    void setStatusKey(const std::string& name);
    void setStatusKeyCode(std::int32_t code);

  private:
    std::filesystem::path iniPath_;
    std::function<void(const std::string&)> onWriteError_;
};

inline constexpr const char* kFormerOwnLookupUrl = "http://127.0.0.1:27995";

} // namespace hh
