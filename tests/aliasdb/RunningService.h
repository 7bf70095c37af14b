#pragma once
// The service running in this test process on 127.0.0.1 with a free port,
// backed by an SQLite file in a temporary folder.
#include "AliasService.h"
#include "HttpServer.h"
#include "SqliteStore.h"

#include "fakes/FakePlatform.h"

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace hh::aliasdb::test {

class RunningService {
  public:
    explicit RunningService(ServerOptions options = {}, SqliteOptions storeOptions = {});
    ~RunningService();
    int port() const { return server_->port(); }
    AliasStore& store() { return *store_; }
    std::vector<std::string> logLines() const;

    static constexpr std::int64_t kNow = 1796479200; // 2026-12-05T14:00:00Z

  private:
    hh::test::TempDir temp_;
    std::unique_ptr<SqliteStore> store_;
    std::unique_ptr<AliasService> service_;
    std::unique_ptr<HttpServer> server_;
    std::thread thread_;
    mutable std::mutex logLock_;
    std::vector<std::string> log_;
};

} // namespace hh::aliasdb::test
