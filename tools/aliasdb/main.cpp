// handlehound-aliasdb: the local alias database service and its import command.
#include "AliasService.h"
#include "CommandLine.h"
#include "Credential.h"
#include "DumpImport.h"
#include "HttpServer.h"
#include "PostgresStore.h"
#include "Privacy.h"
#include "SqliteStore.h"
#include "common/RotatingLogFile.h"
#include "gamelink/NameKey.h"

#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>
#include <pthread.h>
#include <thread>

using namespace hh::aliasdb;

namespace {

// Each worker thread of the service has a database connection of its own.
constexpr int kWorkers = 4;

std::unique_ptr<AliasStore> openStore(const CommandLine& cl, std::string& error) {
    if (!cl.postgres.empty())
        return PostgresStore::open(cl.postgres, error);
    return SqliteStore::open(cl.dbFile, error);
}

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

int runService(const CommandLine& cl) {
    // Request bodies of up to 1 MiB get pages of their own that go back to the
    // system when freed. Left to itself, the allocator raises this threshold
    // after the first large free and keeps later bodies on its heap, so a
    // burst of large requests would leave the service that much bigger.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // Signals go to one waiting thread instead of interrupting arbitrary ones,
    // so the stop runs as ordinary code.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    // Requests go to the log file when one is named; what the caller watches
    // for (ready, stopped, cannot start) goes to standard error as well.
    std::optional<hh::RotatingLogFile> logFile;
    if (!cl.logFile.empty())
        logFile.emplace(cl.logFile);
    const LogSink log = [&](const std::string& line) {
        if (logFile) {
            logFile->append(line + "\n");
        } else {
            std::fprintf(stderr, "%s\n", line.c_str());
            std::fflush(stderr);
        }
    };
    const LogSink say = [&](const std::string& line) {
        log("handlehound-aliasdb: " + line);
        if (logFile)
            std::fprintf(stderr, "handlehound-aliasdb: %s\n", line.c_str());
    };
    std::string error;
    ServerOptions options;
    if (!cl.credentialFile.empty() &&
        !loadOrCreateCredential(cl.credentialFile, options.credential, error)) {
        say(error);
        return 1;
    }
    std::vector<std::unique_ptr<AliasStore>> stores;
    std::vector<std::unique_ptr<AliasService>> services;
    std::vector<RequestHandler> workers;
    for (int i = 0; i < kWorkers; ++i) {
        stores.push_back(openStore(cl, error));
        if (!stores.back()) {
            say(error);
            return 1;
        }
        services.push_back(std::make_unique<AliasService>(
            *stores.back(), [] { return static_cast<std::int64_t>(std::time(nullptr)); }));
        workers.push_back(
            [s = services.back().get()](const HttpRequest& r) { return s->handle(r); });
    }
    options.host = cl.host;
    options.port = cl.port;
    options.maxConnections = cl.maxConnections;
    HttpServer server(options, std::move(workers), log);
    if (!server.listen(error)) {
        say(error);
        return 1;
    }
    say("listening on http://" + cl.host + ":" + std::to_string(server.port()));

    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        say(std::string("stopping on ") + (signal == SIGTERM ? "SIGTERM" : "SIGINT"));
        server.stop();
    });
    server.run();
    waiter.join();
    say("stopped");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine cl = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!cl.error.empty()) {
        std::cerr << "handlehound-aliasdb: " << cl.error << "\n\n" << usageText();
        return 2;
    }
    if (cl.mode == CommandLine::Mode::Help) {
        std::cout << usageText();
        return 0;
    }
    if (cl.mode == CommandLine::Mode::Serve)
        return runService(cl);
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
