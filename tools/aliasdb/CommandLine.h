#pragma once
// handlehound-aliasdb [--listen ADDR:PORT] [--db FILE | --postgres CONNINFO]
//                     [--credential FILE] [--log FILE] [--max-connections N]
// handlehound-aliasdb import [--db FILE | --postgres CONNINFO] [--mod MOD] DUMP...
// handlehound-aliasdb --forget GUID [--db FILE | --postgres CONNINFO]
// handlehound-aliasdb --forget-name NAME [--db FILE | --postgres CONNINFO]
// handlehound-aliasdb --export GUID|all|links --format csv|json [--output FILE] [--db ... ]
#include <cstddef>
#include <string>
#include <vector>

namespace hh::aliasdb {

inline constexpr int kDefaultPort = 27995;

struct CommandLine {
    enum class Mode { Serve, Import, Help, Forget, ForgetName, Export } mode = Mode::Serve;
    std::string host = "127.0.0.1";
    int port = kDefaultPort;
    std::string dbFile = "aliases.sqlite";
    std::string postgres;       // a connection string; when set, used instead of dbFile
    std::string credentialFile; // serve only
    std::string logFile;        // serve only; standard error when empty
    std::string mod;            // import only
    std::vector<std::string> dumps;
    std::string guid; // forget and export; "all" exports every GUID, "links" the name events
    std::string name; // forget-name
    std::string exportFormat; // "csv" or "json"
    std::string outputFile;   // export; a name from the GUID and format when empty
    std::size_t maxConnections = 64;
    std::string error; // usage error when not empty
};

CommandLine parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

} // namespace hh::aliasdb
