// handlehound-aliasdb: the local alias database service and its commands for
// the records (import, backup, forget, export).
#include "CommandLine.h"
#include "DumpImport.h"
#include "Privacy.h"
#include "RunService.h"
#include "SqliteStore.h"
#include "common/Version.h"
#include "gamelink/NameKey.h"

#include <iostream>

using namespace hh::aliasdb;

namespace {

int runImport(AliasStore& store, const CommandLine& cl) {
    int status = 0;
    for (const auto& dump : cl.dumps) {
        std::size_t recorded = 0;
        std::string error;
        if (importDump(store, dump, cl.mod, recorded, error)) {
            std::cout << dump << ": " << recorded << " sightings recorded\n";
        } else {
            std::cerr << "handlehound-aliasdb: " << error << "\n";
            status = 1;
        }
    }
    return status;
}

int runForget(AliasStore& store, const CommandLine& cl) {
    std::size_t removed = 0, links = 0;
    std::string error;
    const bool ok = cl.mode == CommandLine::Mode::ForgetName
                        ? store.forgetName(hh::nameKey(cl.name), links, error)
                        : forgetPlayer(store, cl.guid, removed, links, error);
    if (!ok) {
        std::cerr << "handlehound-aliasdb: " << error << "\n";
        return 1;
    }
    if (cl.mode == CommandLine::Mode::ForgetName)
        std::cout << cl.name << ": " << links << " name links forgotten\n";
    else
        std::cout << cl.guid << ": " << removed << " records and " << links
                  << " name links forgotten\n";
    return 0;
}

int runExport(AliasStore& store, const CommandLine& cl) {
    const std::string file =
        cl.outputFile.empty() ? "aliases-" + cl.guid + "." + cl.exportFormat : cl.outputFile;
    std::size_t rows = 0;
    std::string error;
    const ExportFormat format = cl.exportFormat == "json" ? ExportFormat::Json : ExportFormat::Csv;
    const bool ok = cl.guid == "links" ? exportNameEvents(store, format, file, rows, error)
                                       : exportRecords(store, cl.guid, format, file, rows, error);
    if (!ok) {
        std::cerr << "handlehound-aliasdb: " << error << "\n";
        return 1;
    }
    std::cout << file << ": " << rows << " records exported\n";
    return 0;
}

int runBackup(const CommandLine& cl) {
    std::string error;
    if (!cl.postgres.empty() || !SqliteStore::backup(databaseFile(cl), cl.backupFile, error)) {
        std::cerr << "handlehound-aliasdb: " << error << "\n";
        return 1;
    }
    std::cout << databaseFile(cl) << " copied to " << cl.backupFile << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine cl = parseCommandLine(argc, argv);
    if (!cl.error.empty()) {
        std::cerr << "handlehound-aliasdb: " << cl.error << "\nTry 'handlehound-aliasdb --help'\n";
        return 2;
    }
    switch (cl.mode) {
    case CommandLine::Mode::Help:
        std::cout << usageText();
        return 0;
    case CommandLine::Mode::Version:
        std::cout << "handlehound-aliasdb " << hh::versionText() << "\n";
        return 0;
    case CommandLine::Mode::Backup:
        return runBackup(cl);
    case CommandLine::Mode::Serve:
        return runService(cl);
    case CommandLine::Mode::Import:
    case CommandLine::Mode::Forget:
    case CommandLine::Mode::ForgetName:
    case CommandLine::Mode::Export:
        break;
    }
    std::string error;
    auto store = openStore(cl, error);
    if (!store) {
        std::cerr << "handlehound-aliasdb: " << error << "\n";
        return 1;
    }
    if (cl.mode == CommandLine::Mode::Import)
        return runImport(*store, cl);
    return cl.mode == CommandLine::Mode::Export ? runExport(*store, cl) : runForget(*store, cl);
}
