#pragma once
// The service for tests: running in this process on a free port of
// 127.0.0.1 over an SQLite file, with the requests its owner's program sends.
#include "AliasService.h"
#include "HttpServer.h"
#include "SqliteStore.h"

#include "fakes/FakePlatform.h"
#include "support/Process.h"
#include "support/RawHttp.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace hh::aliasdb::test {

using hh::test::connectLocal;
using hh::test::Reply;
using hh::test::sendRaw;

inline const std::string kCredential = "test-credential-0123456789abcdef";

// Requests as the program sends them, credential included.
inline Reply httpGet(int port, const std::string& target) {
    return sendRaw(port, hh::test::requestBytes(port, "GET", target, kCredential));
}

inline Reply httpPost(int port, const std::string& target, const std::string& body) {
    return sendRaw(port, hh::test::requestBytes(port, "POST", target, kCredential, body));
}

// Rows as a separate reader of the database file sees them.
inline std::vector<AliasRow> aliasesIn(const std::filesystem::path& db, const std::string& guid,
                                       std::size_t limit = 10) {
    std::vector<AliasRow> rows;
    std::string error;
    auto reader = SqliteStore::open(db, error);
    EXPECT_TRUE(reader && reader->aliasesOf(guid, limit, rows, error)) << error;
    return rows;
}

class RunningService {
  public:
    static constexpr std::int64_t kNow = 1796479200; // 2026-12-05T14:00:00Z
    static constexpr int kWorkers = 2;

    explicit RunningService(ServerOptions options = {}, SqliteOptions storeOptions = {}) {
        std::vector<RequestHandler> workers;
        for (int i = 0; i < kWorkers; ++i) {
            std::string error;
            stores_.push_back(SqliteStore::open(temp_ / "aliases.sqlite", error, storeOptions));
            if (!stores_.back())
                throw std::runtime_error(error);
            services_.push_back(
                std::make_unique<AliasService>(*stores_.back(), [] { return kNow; }));
            workers.push_back(
                [s = services_.back().get()](const HttpRequest& r) { return s->handle(r); });
        }
        options.port = 0;
        options.credential = kCredential;
        server_ =
            std::make_unique<HttpServer>(options, std::move(workers), [](const std::string&) {});
        std::string error;
        if (!server_->listen(error))
            throw std::runtime_error(error);
        thread_ = std::thread([this] { server_->run(); });
    }
    // Stops accepting, answers what is in hand, and returns when it is done.
    ~RunningService() {
        server_->stop();
        thread_.join();
    }
    int port() const { return server_->port(); }
    const std::filesystem::path& database() const { return database_; }
    std::vector<AliasRow> aliases(const std::string& guid, std::size_t limit = 10) const {
        return aliasesIn(database_, guid, limit);
    }

  private:
    hh::test::TempDir temp_;
    std::filesystem::path database_ = temp_ / "aliases.sqlite";
    std::vector<std::unique_ptr<SqliteStore>> stores_;
    std::vector<std::unique_ptr<AliasService>> services_;
    std::unique_ptr<HttpServer> server_;
    std::thread thread_;
};

} // namespace hh::aliasdb::test
