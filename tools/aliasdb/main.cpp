// handlehound-aliasdb: the local alias database service and its import command.
#include "AliasService.h"
#include "CommandLine.h"
#include "DumpImport.h"
#include "HttpServer.h"
#include "PostgresStore.h"
#include "SqliteStore.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <thread>

using namespace hh::aliasdb;

namespace {

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

int runService(AliasStore& store, const CommandLine& cl) {
    // Signals go to one waiting thread instead of interrupting arbitrary ones,
    // so the stop runs as ordinary code.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::mutex logLock;
    const LogSink log = [&](const std::string& line) {
        std::lock_guard lock(logLock);
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    };
    AliasService service(store, [] { return static_cast<std::int64_t>(std::time(nullptr)); });
    ServerOptions options;
    options.host = cl.host;
    options.port = cl.port;
    options.maxConnections = cl.maxConnections;
    HttpServer server(
        options, [&](const HttpRequest& r) { return service.handle(r); }, log);
    std::string error;
    if (!server.listen(error)) {
        log("handlehound-aliasdb: " + error);
        return 1;
    }
    log("handlehound-aliasdb: listening on http://" + cl.host + ":" +
        std::to_string(server.port()));

    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        log(std::string("handlehound-aliasdb: stopping on ") +
            (signal == SIGTERM ? "SIGTERM" : "SIGINT"));
        server.stop();
    });
    server.run();
    waiter.join();
    log("handlehound-aliasdb: stopped");
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
    std::string error;
    auto store = openStore(cl, error);
    if (!store) {
        std::cerr << "handlehound-aliasdb: " << error << "\n";
        return 1;
    }
    return cl.mode == CommandLine::Mode::Import ? runImport(*store, cl) : runService(*store, cl);
}
