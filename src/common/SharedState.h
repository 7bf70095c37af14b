#pragma once
// The state the main window object carries for all subsystems. One instance
// lives in frmMain for the whole run; subsystems get a reference to it.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace hh {

struct SharedState {
    // Dump watcher
    std::string gDumpFileAbsPath; // <game>/<mod>/<dump file name>
    std::string gLastModified;    // dump's time when last taken in (modifiedTimeText form)
    bool keyboardHooked = false;  // the watcher installed the key observer
    std::string lastDumpText;     // the dump the last pickup read, for recording its players

    // Console log road
    bool consoleLogLive = false; // a log line was read since monitoring came on
    std::string lastLogCommand; // the last command the log showed typed (as the dump road reads it)
    std::string keyboardCommand; // the last "word argument" the key observer ran, and when
    std::chrono::system_clock::time_point keyboardCommandAt{};
    // Who the console showed on the current server (connected, renamed, not
    // gone), oldest first: the player list where there is no PunkBuster.
    std::vector<std::string> namesOnServer;

    // Interpreter
    std::string gLastCommand;
    std::string gLastArg;
    std::string searchName;  // player name, slot, or "GUID"
    std::string searchValue; // the GUID being looked up
    bool searchByPbId = false;

    // Result call
    std::string gLastStatusMsg;
    std::string savedClipText;
    bool commandPending = false; // keyboard observer: Command key released, answer not yet written

    // Settings mirrors
    std::int16_t numAliases = 150;
    std::string nameColor; // "^7" style or empty (readers apply their default)
    std::string sepColor;

    // Lookup results of the last page with aliases
    std::int16_t aliasCount = 0;
    std::string countPrefix;

    // Monitoring is on exactly while File > Disable is enabled.
    bool monitoringOn = false;
};

} // namespace hh
