#include "SqliteStore.h"

#include <sqlite3.h>

namespace hh::aliasdb {

namespace {

constexpr const char* kSchema = "CREATE TABLE IF NOT EXISTS aliases("
                                " guid TEXT NOT NULL,"
                                " name TEXT NOT NULL,"
                                " first_seen INTEGER NOT NULL,"
                                " last_seen INTEGER NOT NULL,"
                                " times_seen INTEGER NOT NULL DEFAULT 1,"
                                " last_mod TEXT NOT NULL DEFAULT '',"
                                " PRIMARY KEY (guid, name)) WITHOUT ROWID;"
                                "CREATE INDEX IF NOT EXISTS aliases_by_guid_time"
                                " ON aliases(guid, last_seen DESC);";

constexpr const char* kUpsert =
    "INSERT INTO aliases(guid, name, first_seen, last_seen, times_seen, last_mod)"
    " VALUES(?1, ?2, ?3, ?3, 1, ?4)"
    " ON CONFLICT(guid, name) DO UPDATE SET"
    " first_seen = min(aliases.first_seen, excluded.first_seen),"
    " last_seen = max(aliases.last_seen, excluded.last_seen),"
    " times_seen = aliases.times_seen + 1,"
    " last_mod = CASE WHEN excluded.last_mod <> '' AND excluded.last_seen >= aliases.last_seen"
    " THEN excluded.last_mod ELSE aliases.last_mod END";

constexpr const char* kAliasesOf =
    "SELECT name, first_seen, last_seen, times_seen, last_mod FROM aliases"
    " WHERE guid = ?1 ORDER BY last_seen DESC, name LIMIT ?2";

constexpr const char* kSearch = "SELECT guid, name, last_seen, times_seen FROM aliases"
                                " WHERE instr(lower(name), lower(?1)) > 0"
                                " ORDER BY last_seen DESC, guid, name LIMIT ?2";

struct Statement {
    sqlite3_stmt* s = nullptr;
    ~Statement() { sqlite3_finalize(s); }
};

std::string text(sqlite3_stmt* s, int column) {
    const auto* p = sqlite3_column_text(s, column);
    return p ? std::string(reinterpret_cast<const char*>(p),
                           static_cast<std::size_t>(sqlite3_column_bytes(s, column)))
             : std::string();
}

void bindText(sqlite3_stmt* s, int index, const std::string& value) {
    sqlite3_bind_text(s, index, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
}

} // namespace

struct SqliteStore::Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close_v2(db); }

    bool exec(const char* sql, std::string& error) {
        char* message = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
            return true;
        error = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        return false;
    }
    bool prepare(const char* sql, Statement& st, std::string& error) {
        if (sqlite3_prepare_v2(db, sql, -1, &st.s, nullptr) == SQLITE_OK)
            return true;
        error = sqlite3_errmsg(db);
        return false;
    }
    // Runs a query, handing each row to `row`.
    bool query(const char* sql, const std::string& param, std::size_t limit,
               const std::function<void(sqlite3_stmt*)>& row, std::string& error) {
        Statement st;
        if (!prepare(sql, st, error))
            return false;
        bindText(st.s, 1, param);
        sqlite3_bind_int64(st.s, 2, static_cast<sqlite3_int64>(limit));
        int rc;
        while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
            row(st.s);
        if (rc == SQLITE_DONE)
            return true;
        error = sqlite3_errmsg(db);
        return false;
    }
};

SqliteStore::SqliteStore(ConnectionPool<Connection>::Opener opener)
    : pool_(std::move(opener), 16) {}

SqliteStore::~SqliteStore() = default;

std::unique_ptr<SqliteStore> SqliteStore::open(const std::filesystem::path& file,
                                               std::string& error, SqliteOptions options) {
    auto opener = [file, options](std::string& why) -> std::unique_ptr<Connection> {
        auto c = std::make_unique<Connection>();
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
        if (sqlite3_open_v2(file.c_str(), &c->db, flags, nullptr) != SQLITE_OK) {
            why = c->db ? sqlite3_errmsg(c->db) : "out of memory";
            return nullptr;
        }
        sqlite3_busy_timeout(c->db, options.busyTimeoutMs);
        sqlite3_extended_result_codes(c->db, 1);
        std::string pragmas = "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;";
        if (options.maxPageCount > 0)
            pragmas += "PRAGMA max_page_count=" + std::to_string(options.maxPageCount) + ";";
        if (!c->exec(pragmas.c_str(), why))
            return nullptr;
        return c;
    };
    std::unique_ptr<SqliteStore> store(new SqliteStore(opener));
    auto first = store->pool_.acquire(error);
    if (!first || !first->exec(kSchema, error)) {
        error = "cannot open " + file.string() + ": " + error;
        first.discard();
        return nullptr;
    }
    return store;
}

bool SqliteStore::record(const std::vector<Sighting>& batch, std::string& error) {
    auto c = pool_.acquire(error);
    if (!c)
        return false;
    // IMMEDIATE takes the write lock up front, so the busy timeout covers the
    // wait for another writer and the batch never fails half-way on a lock.
    if (!c->exec("BEGIN IMMEDIATE", error))
        return false;
    Statement st;
    bool ok = c->prepare(kUpsert, st, error);
    for (std::size_t i = 0; ok && i < batch.size(); ++i) {
        const Sighting& s = batch[i];
        bindText(st.s, 1, s.guid);
        bindText(st.s, 2, s.name);
        sqlite3_bind_int64(st.s, 3, s.seenAt);
        bindText(st.s, 4, s.mod);
        if (sqlite3_step(st.s) != SQLITE_DONE) {
            error = sqlite3_errmsg(c->db);
            ok = false;
        }
        sqlite3_reset(st.s);
    }
    if (ok && c->exec("COMMIT", error))
        return true;
    std::string ignored;
    c->exec("ROLLBACK", ignored);
    return false;
}

bool SqliteStore::select(const char* sql, const std::string& param, std::size_t limit,
                         const std::function<void(sqlite3_stmt*)>& onRow, std::string& error) {
    auto c = pool_.acquire(error);
    return c && c->query(sql, param, limit, onRow, error);
}

bool SqliteStore::aliasesOf(const std::string& guid, std::size_t limit, std::vector<AliasRow>& out,
                            std::string& error) {
    return select(
        kAliasesOf, guid, limit,
        [&](sqlite3_stmt* s) {
            out.push_back({text(s, 0), sqlite3_column_int64(s, 1), sqlite3_column_int64(s, 2),
                           sqlite3_column_int64(s, 3), text(s, 4)});
        },
        error);
}

bool SqliteStore::searchNames(const std::string& part, std::size_t limit,
                              std::vector<NameMatch>& out, std::string& error) {
    return select(
        kSearch, part, limit,
        [&](sqlite3_stmt* s) {
            out.push_back(
                {text(s, 0), text(s, 1), sqlite3_column_int64(s, 2), sqlite3_column_int64(s, 3)});
        },
        error);
}

} // namespace hh::aliasdb
