#pragma once
// handlehound-aliasdb --credential FILE [--listen ADDR:PORT] [--db FILE | --postgres CONNINFO]
//                     [--port-file FILE] [--log FILE] [--max-connections N]
// handlehound-aliasdb import [--db FILE | --postgres CONNINFO] [--mod MOD] DUMP...
// handlehound-aliasdb backup [--db FILE] COPY
// handlehound-aliasdb --forget GUID [--db FILE | --postgres CONNINFO]
// handlehound-aliasdb --forget-name NAME [--db FILE | --postgres CONNINFO]
// handlehound-aliasdb --export GUID|all|links --format csv|json [--output FILE] [--db ...]
// The SQLite file is the program folder's aliases.sqlite unless --db names one.
#include <cstddef>
#include <string>
#include <vector>

namespace hh::aliasdb {

struct CommandLine {
    enum class Mode {
        Serve,
        Import,
        Backup,
        Forget,
        ForgetName,
        Export,
        Help,
        Version
    } mode = Mode::Serve;
    std::string host = "127.0.0.1";
    int port = 0;
    std::string dbFile; // "" until resolved: see databaseFile()
    std::string programDir;
    std::string postgres; // a connection string; when set, used instead of SQLite
    std::string credentialFile, portFile, logFile;
    std::size_t maxConnections = 64;
    std::string mod; // import
    std::vector<std::string> dumps;
    std::string backupFile;
    std::string guid; // forget and export; "all" exports every GUID, "links" the name events
    std::string name; // forget-name
    std::string exportFormat; // "csv" or "json"
    std::string outputFile;   // export; a name from the GUID and format when empty
    std::string error;        // the first thing wrong, "" when nothing is
};

CommandLine parseCommandLine(int argc, const char* const* argv);
std::string usageText();

// --db, else aliases.sqlite in the program folder (--program-dir, else the one
// Handlehound uses by default).
std::string databaseFile(const CommandLine& cl);

} // namespace hh::aliasdb
