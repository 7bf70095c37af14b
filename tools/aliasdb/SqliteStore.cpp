#include "SqliteStore.h"

#include "gamelink/NameKey.h"

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
                                " name_key TEXT NOT NULL DEFAULT '',"
                                " PRIMARY KEY (guid, name)) WITHOUT ROWID;"
                                "CREATE INDEX IF NOT EXISTS aliases_by_guid_time"
                                " ON aliases(guid, last_seen DESC);"
                                "CREATE TABLE IF NOT EXISTS name_events("
                                " session TEXT NOT NULL,"
                                " seq INTEGER NOT NULL,"
                                " kind TEXT NOT NULL,"
                                " name TEXT NOT NULL,"
                                " name_key TEXT NOT NULL,"
                                " new_name TEXT NOT NULL DEFAULT '',"
                                " new_key TEXT NOT NULL DEFAULT '',"
                                " server TEXT NOT NULL DEFAULT '',"
                                " at INTEGER NOT NULL,"
                                " PRIMARY KEY (session, seq)) WITHOUT ROWID;"
                                "CREATE INDEX IF NOT EXISTS name_events_by_key"
                                " ON name_events(name_key);"
                                "CREATE INDEX IF NOT EXISTS name_events_by_new_key"
                                " ON name_events(new_key);";

// Files written before names had keys get the column, then their keys.
constexpr const char* kNameKeyIndex = "CREATE INDEX IF NOT EXISTS aliases_by_name_key"
                                      " ON aliases(name_key, last_seen DESC);";
constexpr const char* kRowsWithoutKey = "SELECT guid, name FROM aliases WHERE name_key = ''";
constexpr const char* kSetKey = "UPDATE aliases SET name_key = ?3 WHERE guid = ?1 AND name = ?2";

constexpr const char* kUpsert =
    "INSERT INTO aliases(guid, name, first_seen, last_seen, times_seen, last_mod, name_key)"
    " VALUES(?1, ?2, ?3, ?3, 1, ?4, ?5)"
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

constexpr const char* kGuidsUsingName = "SELECT guid FROM aliases WHERE name_key = ?1"
                                        " GROUP BY guid ORDER BY max(last_seen) DESC, guid"
                                        " LIMIT ?2";

constexpr const char* kExportColumns =
    "SELECT guid, name, first_seen, last_seen, times_seen, last_mod FROM aliases";
constexpr const char* kExportAll = " WHERE (guid, name) > (?1, ?2) ORDER BY guid, name LIMIT ?3";
constexpr const char* kExportGuid =
    " WHERE guid = ?4 AND (guid, name) > (?1, ?2) ORDER BY guid, name LIMIT ?3";

constexpr const char* kInsertEvent =
    "INSERT INTO name_events(session, seq, kind, name, name_key, new_name, new_key, server, at)"
    " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) ON CONFLICT(session, seq) DO NOTHING";
constexpr const char* kEventColumns =
    "SELECT session, seq, kind, name, new_name, server, at FROM name_events";
constexpr const char* kRenamesOfName = " WHERE kind = 'renamed' AND (name_key = ?1 OR new_key = ?1)"
                                       " ORDER BY at DESC, seq DESC LIMIT ?2";
constexpr const char* kSessionEventsOfName =
    " WHERE session = ?3 AND (name_key = ?1 OR new_key = ?1) ORDER BY seq LIMIT ?2";
constexpr const char* kExportEvents =
    " WHERE (session, seq) > (?3, ?4) ORDER BY session, seq LIMIT ?2";

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

// For a value that does not outlive the binding: SQLite keeps a copy.
void bindCopy(sqlite3_stmt* s, int index, const std::string& value) {
    sqlite3_bind_text(s, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

NameEvent eventAt(sqlite3_stmt* s) {
    return {text(s, 0), sqlite3_column_int64(s, 1), text(s, 2), text(s, 3), text(s, 4),
            text(s, 5), sqlite3_column_int64(s, 6)};
}

bool prepare(sqlite3* db, const char* sql, Statement& st, std::string& error) {
    if (sqlite3_prepare_v2(db, sql, -1, &st.s, nullptr) == SQLITE_OK)
        return true;
    error = sqlite3_errmsg(db);
    return false;
}

} // namespace

SqliteStore::~SqliteStore() {
    sqlite3_close_v2(db_);
}

std::unique_ptr<SqliteStore> SqliteStore::open(const std::filesystem::path& file,
                                               std::string& error, SqliteOptions options) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    std::unique_ptr<SqliteStore> store(new SqliteStore(db));
    if (rc != SQLITE_OK) {
        error = "cannot open " + file.string() + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
        return nullptr;
    }
    sqlite3_busy_timeout(db, options.busyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    std::string setup = "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;";
    if (options.maxPageCount > 0)
        setup += "PRAGMA max_page_count=" + std::to_string(options.maxPageCount) + ";";
    setup += kSchema;
    if (!store->exec(setup.c_str(), error) || !store->addNameKeys(error)) {
        error = "cannot open " + file.string() + ": " + error;
        return nullptr;
    }
    return store;
}

bool SqliteStore::addNameKeys(std::string& error) {
    bool hasColumn = false;
    if (!select(
            "SELECT 1 FROM pragma_table_info('aliases') WHERE name = ?1", "name_key", 1,
            [&](sqlite3_stmt*) { hasColumn = true; }, error))
        return false;
    if (!hasColumn &&
        !exec("ALTER TABLE aliases ADD COLUMN name_key TEXT NOT NULL DEFAULT ''", error))
        return false;
    if (!exec(kNameKeyIndex, error))
        return false;
    std::vector<std::pair<std::string, std::string>> missing;
    if (!select(
            kRowsWithoutKey, {}, 0,
            [&](sqlite3_stmt* s) { missing.emplace_back(text(s, 0), text(s, 1)); }, error))
        return false;
    return writeRows(
        kSetKey, missing.size(),
        [&](sqlite3_stmt* st, std::size_t i) {
            const std::string key = nameKey(missing[i].second);
            bindText(st, 1, missing[i].first);
            bindText(st, 2, missing[i].second);
            bindCopy(st, 3, key);
            return !key.empty(); // a name of colour codes only keeps the empty key
        },
        error);
}

bool SqliteStore::backup(const std::filesystem::path& file, const std::filesystem::path& copy,
                         std::string& error) {
    std::filesystem::path partial = copy;
    partial += ".partial";
    std::error_code ec;
    std::filesystem::remove(partial, ec); // what a failed run left
    sqlite3* from = nullptr;
    sqlite3* to = nullptr;
    bool ok = sqlite3_open_v2(file.c_str(), &from, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    if (!ok)
        error = "cannot read " + file.string() + ": " + sqlite3_errmsg(from);
    if (ok && sqlite3_open(partial.c_str(), &to) != SQLITE_OK) {
        error = "cannot write " + partial.string() + ": " + sqlite3_errmsg(to);
        ok = false;
    }
    if (ok) {
        sqlite3_busy_timeout(from, 5000);
        sqlite3_backup* b = sqlite3_backup_init(to, "main", from, "main");
        const int rc = b ? sqlite3_backup_step(b, -1) : SQLITE_ERROR;
        sqlite3_backup_finish(b);
        ok = rc == SQLITE_DONE && sqlite3_errcode(to) == SQLITE_OK;
        if (!ok)
            error = "backup of " + file.string() + " failed: " + sqlite3_errmsg(to);
    }
    sqlite3_close(to);
    sqlite3_close(from);
    if (ok)
        std::filesystem::rename(partial, copy, ec);
    if (ok && ec) {
        error = "cannot write " + copy.string() + ": " + ec.message();
        ok = false;
    }
    if (!ok)
        std::filesystem::remove(partial, ec);
    return ok;
}

bool SqliteStore::exec(const char* sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
}

bool SqliteStore::writeRows(const char* sql, std::size_t count,
                            const std::function<bool(sqlite3_stmt*, std::size_t)>& bind,
                            std::string& error) {
    // IMMEDIATE takes the write lock up front, so the busy timeout covers the
    // wait for another writer and the rows never fail half-way on a lock.
    if (!exec("BEGIN IMMEDIATE", error))
        return false;
    Statement st;
    bool ok = prepare(db_, sql, st, error);
    for (std::size_t i = 0; ok && i < count; ++i) {
        if (bind(st.s, i) && sqlite3_step(st.s) != SQLITE_DONE) {
            error = sqlite3_errmsg(db_);
            ok = false;
        }
        sqlite3_reset(st.s);
    }
    if (ok && exec("COMMIT", error))
        return true;
    std::string ignored;
    exec("ROLLBACK", ignored);
    return false;
}

bool SqliteStore::record(const std::vector<Sighting>& batch, std::string& error) {
    return writeRows(
        kUpsert, batch.size(),
        [&](sqlite3_stmt* st, std::size_t i) {
            const Sighting& s = batch[i];
            bindText(st, 1, s.guid);
            bindText(st, 2, s.name);
            sqlite3_bind_int64(st, 3, s.seenAt);
            bindText(st, 4, s.mod);
            bindCopy(st, 5, nameKey(s.name));
            return true;
        },
        error);
}

// `param` is ?1 and `limit` ?2; a statement without them ignores the binding.
bool SqliteStore::select(const char* sql, const std::string& param, std::size_t limit,
                         const std::function<void(sqlite3_stmt*)>& onRow, std::string& error) {
    Statement st;
    if (!prepare(db_, sql, st, error))
        return false;
    bindText(st.s, 1, param);
    sqlite3_bind_int64(st.s, 2, static_cast<sqlite3_int64>(limit));
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        onRow(st.s);
    if (rc == SQLITE_DONE)
        return true;
    error = sqlite3_errmsg(db_);
    return false;
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

bool SqliteStore::guidsUsingName(const std::string& key, std::size_t limit,
                                 std::vector<std::string>& out, std::string& error) {
    return select(
        kGuidsUsingName, key, limit, [&](sqlite3_stmt* s) { out.push_back(text(s, 0)); }, error);
}

bool SqliteStore::forgetGuid(const std::string& guid, std::size_t& removed, std::string& error) {
    return deleteSecurely("DELETE FROM aliases WHERE guid = ?1", guid, removed, error);
}

bool SqliteStore::forgetName(const std::string& key, std::size_t& removed, std::string& error) {
    return deleteSecurely("DELETE FROM name_events WHERE name_key = ?1 OR new_key = ?1", key,
                          removed, error);
}

bool SqliteStore::deleteSecurely(const char* sql, const std::string& param, std::size_t& removed,
                                 std::string& error) {
    // Deleted rows would otherwise stay readable in the file's free pages,
    // and their older copies in the write-ahead log until its next reuse.
    if (!exec("PRAGMA secure_delete = ON", error))
        return false;
    Statement st;
    bool ok = prepare(db_, sql, st, error);
    if (ok) {
        bindText(st.s, 1, param);
        ok = sqlite3_step(st.s) == SQLITE_DONE;
        if (!ok)
            error = sqlite3_errmsg(db_);
        removed = ok ? static_cast<std::size_t>(sqlite3_changes(db_)) : 0;
    }
    std::string ignored;
    exec("PRAGMA secure_delete = OFF", ignored);
    if (!ok)
        return false;
    int logFrames = 0, copied = 0;
    if (sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, &logFrames, &copied) !=
        SQLITE_OK) {
        error = std::string("the rows are deleted, but the write-ahead log still holds old "
                            "copies until the database is next idle: ") +
                sqlite3_errmsg(db_);
        return false;
    }
    return true;
}

bool SqliteStore::exportRows(const std::string& guid, const std::string& afterGuid,
                             const std::string& afterName, std::size_t limit,
                             std::vector<GuidAliasRow>& out, std::string& error) {
    const std::string sql = std::string(kExportColumns) + (guid.empty() ? kExportAll : kExportGuid);
    Statement st;
    if (!prepare(db_, sql.c_str(), st, error))
        return false;
    bindText(st.s, 1, afterGuid);
    bindText(st.s, 2, afterName);
    sqlite3_bind_int64(st.s, 3, static_cast<sqlite3_int64>(limit));
    if (!guid.empty())
        bindText(st.s, 4, guid);
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        out.push_back({text(st.s, 0),
                       {text(st.s, 1), sqlite3_column_int64(st.s, 2), sqlite3_column_int64(st.s, 3),
                        sqlite3_column_int64(st.s, 4), text(st.s, 5)}});
    if (rc == SQLITE_DONE)
        return true;
    error = sqlite3_errmsg(db_);
    return false;
}

bool SqliteStore::recordNameEvents(const std::vector<NameEvent>& events, std::string& error) {
    return writeRows(
        kInsertEvent, events.size(),
        [&](sqlite3_stmt* st, std::size_t i) {
            const NameEvent& e = events[i];
            bindText(st, 1, e.session);
            sqlite3_bind_int64(st, 2, e.seq);
            bindText(st, 3, e.kind);
            bindText(st, 4, e.name);
            bindCopy(st, 5, nameKey(e.name));
            bindText(st, 6, e.newName);
            bindCopy(st, 7, nameKey(e.newName));
            bindText(st, 8, e.server);
            sqlite3_bind_int64(st, 9, e.at);
            return true;
        },
        error);
}

bool SqliteStore::selectEvents(const char* where, const std::string& key, std::size_t limit,
                               const std::string& session, std::int64_t seq,
                               std::vector<NameEvent>& out, std::string& error) {
    const std::string sql = std::string(kEventColumns) + where;
    Statement st;
    if (!prepare(db_, sql.c_str(), st, error))
        return false;
    // A statement uses the parameters it names and ignores the others.
    bindText(st.s, 1, key);
    sqlite3_bind_int64(st.s, 2, static_cast<sqlite3_int64>(limit));
    bindText(st.s, 3, session);
    sqlite3_bind_int64(st.s, 4, seq);
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        out.push_back(eventAt(st.s));
    if (rc == SQLITE_DONE)
        return true;
    error = sqlite3_errmsg(db_);
    return false;
}

bool SqliteStore::renamesOfName(const std::string& key, std::size_t limit,
                                std::vector<NameEvent>& out, std::string& error) {
    return selectEvents(kRenamesOfName, key, limit, {}, 0, out, error);
}

bool SqliteStore::sessionEventsOfName(const std::string& session, const std::string& key,
                                      std::size_t limit, std::vector<NameEvent>& out,
                                      std::string& error) {
    return selectEvents(kSessionEventsOfName, key, limit, session, 0, out, error);
}

bool SqliteStore::exportNameEvents(const std::string& afterSession, std::int64_t afterSeq,
                                   std::size_t limit, std::vector<NameEvent>& out,
                                   std::string& error) {
    return selectEvents(kExportEvents, {}, limit, afterSession, afterSeq, out, error);
}

} // namespace hh::aliasdb
