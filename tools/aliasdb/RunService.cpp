#include "RunService.h"

#include "AliasService.h"
#include "Credential.h"
#include "HttpServer.h"
#include "PostgresStore.h"
#include "SqliteStore.h"
#include "common/RotatingLogFile.h"

#include <malloc.h>
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <thread>

namespace hh::aliasdb {

namespace {

// Each worker thread of the service has a database connection of its own.
constexpr int kWorkers = 4;

// Written whole or not at all, for a caller that waits for the file.
bool writePortFile(const std::filesystem::path& file, int port, std::string& error) {
    std::filesystem::path partial = file;
    partial += ".partial";
    std::ofstream(partial, std::ios::trunc) << port << "\n";
    std::error_code ec;
    std::filesystem::permissions(
        partial, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
    std::filesystem::rename(partial, file, ec);
    if (ec)
        error = "cannot write " + file.string() + ": " + ec.message();
    return !ec;
}

} // namespace

std::unique_ptr<AliasStore> openStore(const CommandLine& cl, std::string& error) {
    if (!cl.postgres.empty())
        return PostgresStore::open(cl.postgres, error);
    return SqliteStore::open(databaseFile(cl), error);
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
    std::optional<RotatingLogFile> logFile;
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
    if (!cl.portFile.empty() && !writePortFile(cl.portFile, server.port(), error)) {
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

} // namespace hh::aliasdb
