#include "CommandLine.h"

#include "common/Strings.h"
#include "gamelink/NameKey.h"
#include "gamelink/Sightings.h"

#include <charconv>

namespace hh::aliasdb {

namespace {

bool parseNumber(const std::string& text, long long low, long long high, long long& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty() && out >= low && out <= high;
}

bool parseListen(const std::string& value, CommandLine& cl) {
    const auto colon = value.rfind(':');
    long long port = 0;
    if (colon == std::string::npos || colon == 0 ||
        !parseNumber(value.substr(colon + 1), 0, 65535, port))
        return false;
    cl.host = value.substr(0, colon);
    cl.port = static_cast<int>(port);
    return true;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    std::size_t i = 0;
    if (!args.empty() && args[0] == "import") {
        cl.mode = CommandLine::Mode::Import;
        ++i;
    }
    bool sawDb = false;
    for (; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        const auto takeValue = [&]() {
            if (!hasValue && i + 1 < args.size()) {
                value = args[++i];
                hasValue = true;
            }
            if (!hasValue)
                cl.error = arg + " needs a value";
            return hasValue;
        };
        if (arg == "--help" || arg == "-h") {
            cl.mode = CommandLine::Mode::Help;
            return cl;
        }
        if (arg == "--db" || arg == "--postgres") {
            if (!takeValue())
                return cl;
            (arg == "--db" ? cl.dbFile : cl.postgres) = value;
            if (sawDb) {
                cl.error = "give one of --db and --postgres, once";
                return cl;
            }
            sawDb = true;
        } else if (arg == "--listen" && cl.mode == CommandLine::Mode::Serve) {
            if (!takeValue())
                return cl;
            if (!parseListen(value, cl)) {
                cl.error = "--listen wants ADDRESS:PORT, e.g. 127.0.0.1:27995";
                return cl;
            }
        } else if ((arg == "--credential" || arg == "--log") &&
                   cl.mode == CommandLine::Mode::Serve) {
            if (!takeValue())
                return cl;
            (arg == "--log" ? cl.logFile : cl.credentialFile) = value;
        } else if (arg == "--max-connections" && cl.mode == CommandLine::Mode::Serve) {
            long long n = 0;
            if (!takeValue())
                return cl;
            if (!parseNumber(value, 1, 1024, n)) {
                cl.error = "--max-connections wants a number from 1 to 1024";
                return cl;
            }
            cl.maxConnections = static_cast<std::size_t>(n);
        } else if ((arg == "--forget" || arg == "--export") &&
                   cl.mode == CommandLine::Mode::Serve) {
            if (!takeValue())
                return cl;
            cl.mode = arg == "--forget" ? CommandLine::Mode::Forget : CommandLine::Mode::Export;
            cl.guid = toLower(value);
            const bool exportWord = cl.guid == "all" || cl.guid == "links";
            if (!isSightingGuid(value) && (arg == "--forget" || !exportWord)) {
                cl.error = arg + " wants a GUID of 8 letters or digits" +
                           (arg == "--export" ? ", all or links" : "");
                return cl;
            }
        } else if (arg == "--forget-name" && cl.mode == CommandLine::Mode::Serve) {
            if (!takeValue())
                return cl;
            cl.mode = CommandLine::Mode::ForgetName;
            cl.name = trimBlanks(value);
            // An empty key would match every event that is not a rename.
            if (!isSightingText(cl.name, kMaxSightingNameBytes) || nameKey(cl.name).empty()) {
                cl.error = "--forget-name wants a name of 1 to 64 bytes, more than colour codes";
                return cl;
            }
        } else if (arg == "--format" || arg == "--output") {
            if (!takeValue())
                return cl;
            (arg == "--format" ? cl.exportFormat : cl.outputFile) = value;
        } else if (arg == "--mod" && cl.mode == CommandLine::Mode::Import) {
            if (!takeValue())
                return cl;
            cl.mod = value;
        } else if (cl.mode == CommandLine::Mode::Import && arg.rfind("--", 0) != 0) {
            cl.dumps.push_back(arg);
        } else {
            cl.error = "unknown argument: " + arg;
            return cl;
        }
    }
    if (cl.mode == CommandLine::Mode::Import && cl.dumps.empty())
        cl.error = "import needs at least one dump file";
    const bool exporting = cl.mode == CommandLine::Mode::Export;
    if ((!cl.exportFormat.empty() || !cl.outputFile.empty()) && !exporting)
        cl.error = "--format and --output go with --export";
    else if (exporting && cl.exportFormat != "csv" && cl.exportFormat != "json")
        cl.error = "--export wants --format csv or --format json";
    return cl;
}

std::string usageText() {
    return "Usage:\n"
           "  handlehound-aliasdb [--listen ADDRESS:PORT] [--db FILE | --postgres CONNINFO]\n"
           "                      [--credential FILE] [--log FILE] [--max-connections N]\n"
           "  handlehound-aliasdb import [--db FILE | --postgres CONNINFO] [--mod MOD] DUMP...\n"
           "  handlehound-aliasdb --forget GUID [--db FILE | --postgres CONNINFO]\n"
           "  handlehound-aliasdb --forget-name NAME [--db FILE | --postgres CONNINFO]\n"
           "  handlehound-aliasdb --export GUID|all|links --format csv|json [--output FILE]\n"
           "                      [--db ...]\n"
           "\n"
           "Serves the alias database that Handlehound looks GUIDs up in, and records the\n"
           "players Handlehound sees.\n"
           "\n"
           "  --listen     address to serve on (default 127.0.0.1:27995; port 0 picks one)\n"
           "  --db         SQLite file (default ./aliases.sqlite; created when missing)\n"
           "  --postgres   libpq connection string, e.g. \"host=/run/postgresql dbname=hh\"\n"
           "  --credential file with the secret clients must send as \"Authorization:\n"
           "               Bearer SECRET\" (created with a random one when missing)\n"
           "  --log        request log file, rotated at 1 MiB (default: standard error)\n"
           "  --max-connections  connections served at once (default 64)\n"
           "  import       record the PunkBuster player lines of console dumps; --mod names\n"
           "               the mod (default: the folder the dump lies in)\n"
           "  --forget GUID  remove every record of a GUID, and the name links of its names,\n"
           "               leaving no copy in the file\n"
           "  --forget-name NAME  remove every name link from or to NAME (colour codes and\n"
           "               case ignored)\n"
           "  --export GUID|all|links --format csv|json [--output FILE]\n"
           "               write the records of one GUID or of all, or the name links, to a\n"
           "               new file that only you may read (default: aliases-GUID.FORMAT)\n"
           "\n"
           "Pages: /?guid=XXXXXXXX (aliases), / and /search?q= (search), /health,\n"
           "POST /sightings (JSON array of {guid, name, seen_at, mod}), POST /players and\n"
           "POST /forget (JSON arrays of {guid, name}), /seen?name=, POST /names and\n"
           "/links?name= (see the README).\n"
           "The service prints \"listening on http://ADDRESS:PORT\" once it accepts\n"
           "requests, logs one line per request on standard error and ends on SIGTERM or\n"
           "SIGINT with exit status 0. Exit status 1: it could not start (address in use,\n"
           "database unusable); 2: wrong arguments.\n";
}

} // namespace hh::aliasdb
