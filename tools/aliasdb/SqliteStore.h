#pragma once
// The default store: one connection to an SQLite file in WAL mode, so readers
// never wait for a writer and the import command can write while the service
// runs.
#include "AliasStore.h"

#include <filesystem>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace hh::aliasdb {

struct SqliteOptions {
    int busyTimeoutMs = 5000;
    // Caps the file's size in pages (0 = no cap); lets a test run out of space.
    long long maxPageCount = 0;
};

class SqliteStore : public AliasStore {
  public:
    // Creates the file and its table when missing; nullptr with a reason on failure.
    static std::unique_ptr<SqliteStore> open(const std::filesystem::path& file, std::string& error,
                                             SqliteOptions options = {});

    ~SqliteStore() override;

    // Copies the database at `file` to `copy` with SQLite's online backup, so
    // the copy is whole even while the service writes; `copy` appears only
    // when complete (an existing one is replaced).
    static bool backup(const std::filesystem::path& file, const std::filesystem::path& copy,
                       std::string& error);

    bool record(const std::vector<Sighting>& batch, std::string& error) override;
    bool aliasesOf(const std::string& guid, std::size_t limit, std::vector<AliasRow>& out,
                   std::string& error) override;
    bool searchNames(const std::string& part, std::size_t limit, std::vector<NameMatch>& out,
                     std::string& error) override;
    bool guidsUsingName(const std::string& nameKey, std::size_t limit,
                        std::vector<std::string>& out, std::string& error) override;
    bool forgetGuid(const std::string& guid, std::size_t& removed, std::string& error) override;
    bool exportRows(const std::string& guid, const std::string& afterGuid,
                    const std::string& afterName, std::size_t limit, std::vector<GuidAliasRow>& out,
                    std::string& error) override;
    bool recordNameEvents(const std::vector<NameEvent>& events, std::string& error) override;
    bool renamesOfName(const std::string& nameKey, std::size_t limit, std::vector<NameEvent>& out,
                       std::string& error) override;
    bool sessionEventsOfName(const std::string& session, const std::string& nameKey,
                             std::size_t limit, std::vector<NameEvent>& out,
                             std::string& error) override;
    bool forgetName(const std::string& nameKey, std::size_t& removed, std::string& error) override;
    bool exportNameEvents(const std::string& afterSession, std::int64_t afterSeq, std::size_t limit,
                          std::vector<NameEvent>& out, std::string& error) override;

  private:
    explicit SqliteStore(sqlite3* db) : db_(db) {}
    bool exec(const char* sql, std::string& error);
    bool addNameKeys(std::string& error);
    // One transaction of `count` steps of `sql`; `bind` sets step i's
    // parameters, or answers false to skip it. All or nothing.
    bool writeRows(const char* sql, std::size_t count,
                   const std::function<bool(sqlite3_stmt*, std::size_t)>& bind, std::string& error);
    bool select(const char* sql, const std::string& param, std::size_t limit,
                const std::function<void(sqlite3_stmt*)>& onRow, std::string& error);
    // Deletes the rows `sql` names (?1 = `param`) so that no copy of them
    // stays readable in the file or its write-ahead log.
    bool deleteSecurely(const char* sql, const std::string& param, std::size_t& removed,
                        std::string& error);
    // kEventColumns + `where`, with ?1 key, ?2 limit, ?3 session, ?4 seq.
    bool selectEvents(const char* where, const std::string& key, std::size_t limit,
                      const std::string& session, std::int64_t seq, std::vector<NameEvent>& out,
                      std::string& error);
    sqlite3* db_;
};

} // namespace hh::aliasdb
