#include "CommandLine.h"

#include "app/ProgramFolder.h"
#include "common/Strings.h"
#include "gamelink/NameKey.h"
#include "gamelink/Sightings.h"

#include <CLI/CLI.hpp>

#include <charconv>

namespace hh::aliasdb {

namespace {

// ADDRESS:PORT on loopback: the service only answers to loopback names, so
// listening anywhere else would only invite strangers.
std::string parseListen(const std::string& value, CommandLine& cl) {
    const auto colon = value.rfind(':');
    int port = -1;
    const char* end = value.data() + value.size();
    if (colon != std::string::npos &&
        std::from_chars(value.data() + colon + 1, end, port).ptr == end &&
        colon + 1 < value.size() && port >= 0 && port <= 65535 && value.rfind("127.", 0) == 0) {
        cl.host = value.substr(0, colon);
        cl.port = port;
        return {};
    }
    return "--listen wants a loopback ADDRESS:PORT, e.g. 127.0.0.1:0 (port 0 picks one)";
}

// --forget GUID, --forget-name NAME, and --export GUID|all|links with its
// --format and --output.
std::string checkRecordsOptions(const std::string& forget, const std::string& forgetName,
                                const std::string& exportWhat, CommandLine& cl) {
    const bool exporting = !exportWhat.empty();
    if (exporting || !forget.empty()) {
        cl.mode = exporting ? CommandLine::Mode::Export : CommandLine::Mode::Forget;
        cl.guid = toLower(exporting ? exportWhat : forget);
        const bool exportWord = cl.guid == "all" || cl.guid == "links";
        if (!isSightingGuid(cl.guid) && (!exporting || !exportWord))
            return exporting ? "--export wants a GUID of 8 letters or digits, all or links"
                             : "--forget wants a GUID of 8 letters or digits";
    } else if (!forgetName.empty()) {
        cl.mode = CommandLine::Mode::ForgetName;
        cl.name = trimBlanks(forgetName);
        // An empty key would match every event that is not a rename.
        if (!isSightingText(cl.name, kMaxSightingNameBytes) || nameKey(cl.name).empty())
            return "--forget-name wants a name of 1 to 64 bytes, more than colour codes";
    }
    if ((!cl.exportFormat.empty() || !cl.outputFile.empty()) && !exporting)
        return "--format and --output go with --export";
    if (exporting && cl.exportFormat != "csv" && cl.exportFormat != "json")
        return "--export wants --format csv or --format json";
    return {};
}

void addDatabase(CLI::App& app, CommandLine& cl, bool withPostgres) {
    auto* db = app.add_option("--db", cl.dbFile);
    app.add_option("--program-dir", cl.programDir);
    if (withPostgres)
        app.add_option("--postgres", cl.postgres)->excludes(db);
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine cl;
    bool help = false, version = false;
    std::string listen, forget, forgetName, exportWhat;
    CLI::App cli("handlehound-aliasdb");
    cli.set_help_flag(); // our own text
    cli.add_flag("--help,-h", help);
    cli.add_flag("--version", version);
    cli.add_option("--listen", listen);
    cli.add_option("--credential", cl.credentialFile);
    cli.add_option("--port-file", cl.portFile);
    cli.add_option("--log", cl.logFile);
    cli.add_option("--max-connections", cl.maxConnections)->check(CLI::Range(1, 1024));
    auto* forgetOption = cli.add_option("--forget", forget);
    auto* forgetNameOption = cli.add_option("--forget-name", forgetName)->excludes(forgetOption);
    cli.add_option("--export", exportWhat)->excludes(forgetOption, forgetNameOption);
    cli.add_option("--format", cl.exportFormat);
    cli.add_option("--output", cl.outputFile);
    addDatabase(cli, cl, true);
    auto* import = cli.add_subcommand("import");
    addDatabase(*import, cl, true);
    import->add_option("--mod", cl.mod);
    import->add_option("DUMP", cl.dumps)->required();
    auto* backup = cli.add_subcommand("backup");
    addDatabase(*backup, cl, false);
    backup->add_option("COPY", cl.backupFile)->required();
    cli.require_subcommand(0, 1);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        cl.error = e.what();
        // Asking for help or the version wins over what else is wrong.
        if (!help && !version)
            return cl;
        cl.error.clear();
    }
    if (help || version) {
        cl.mode = help ? CommandLine::Mode::Help : CommandLine::Mode::Version;
        return cl;
    }
    if (import->parsed())
        cl.mode = CommandLine::Mode::Import;
    else if (backup->parsed())
        cl.mode = CommandLine::Mode::Backup;
    else if (!listen.empty())
        cl.error = parseListen(listen, cl);
    if (cl.error.empty())
        cl.error = checkRecordsOptions(forget, forgetName, exportWhat, cl);
    if (cl.mode == CommandLine::Mode::Serve && cl.error.empty() && cl.credentialFile.empty())
        cl.error = "serving needs --credential FILE: the secret every client must send";
    return cl;
}

std::string databaseFile(const CommandLine& cl) {
    if (!cl.dbFile.empty())
        return cl.dbFile;
    return (resolveProgramFolders(cl.programDir).program / "aliases.sqlite").string();
}

std::string usageText() {
    return "Usage:\n"
           "  handlehound-aliasdb --credential FILE [--listen ADDRESS:PORT] [--port-file FILE]\n"
           "                      [--db FILE | --postgres CONNINFO] [--log FILE]\n"
           "                      [--max-connections N]\n"
           "  handlehound-aliasdb import [--db FILE | --postgres CONNINFO] [--mod MOD] DUMP...\n"
           "  handlehound-aliasdb backup [--db FILE] COPY\n"
           "  handlehound-aliasdb --forget GUID [--db FILE | --postgres CONNINFO]\n"
           "  handlehound-aliasdb --forget-name NAME [--db FILE | --postgres CONNINFO]\n"
           "  handlehound-aliasdb --export GUID|all|links --format csv|json [--output FILE]\n"
           "                      [--db ...]\n"
           "  handlehound-aliasdb --help | --version\n"
           "\n"
           "Serves the alias database that Handlehound looks GUIDs up in, and records the\n"
           "players Handlehound sees. Handlehound starts it for its program folder.\n"
           "\n"
           "  --credential file with the secret every client must send as\n"
           "               \"Authorization: Bearer SECRET\"; created with a random one when\n"
           "               missing, refused when other users may read it\n"
           "  --listen     loopback address to serve on (default 127.0.0.1:0, a free port)\n"
           "  --port-file  file the port is written to once requests are accepted\n"
           "  --db         SQLite file (default: aliases.sqlite in the program folder, the\n"
           "               one Handlehound uses, or --program-dir DIR)\n"
           "  --postgres   libpq connection string, e.g. \"host=/run/postgresql dbname=hh\"\n"
           "  --log        request log file, rotated at 1 MiB (default: standard error)\n"
           "  --max-connections  connections served at once (default 64)\n"
           "  import       record the PunkBuster player lines of console dumps; --mod names\n"
           "               the mod (default: the folder the dump lies in)\n"
           "  backup       copy the SQLite database to COPY, consistent even while the\n"
           "               service writes (a plain copy of a WAL database can miss entries)\n"
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
           "requests and ends on SIGTERM or SIGINT with exit status 0. Exit status 1: it\n"
           "could not start (address in use, database unusable), or an import, backup,\n"
           "forget or export failed; 2: wrong arguments.\n";
}

} // namespace hh::aliasdb
