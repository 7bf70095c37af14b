#include "PostgresStore.h"

#include "gamelink/NameKey.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace hh::aliasdb {

namespace {

// In one transaction under a lock of its own: stores opened at once (the
// service's workers, an import) would otherwise deadlock on the ALTER.
constexpr const char* kSchema = "BEGIN;"
                                "SELECT pg_advisory_xact_lock(27995);"
                                "CREATE TABLE IF NOT EXISTS aliases("
                                " guid TEXT NOT NULL,"
                                " name TEXT NOT NULL,"
                                " first_seen BIGINT NOT NULL,"
                                " last_seen BIGINT NOT NULL,"
                                " times_seen BIGINT NOT NULL DEFAULT 1,"
                                " last_mod TEXT NOT NULL DEFAULT '',"
                                " PRIMARY KEY (guid, name));"
                                "CREATE INDEX IF NOT EXISTS aliases_by_guid_time"
                                " ON aliases(guid, last_seen DESC);"
                                // Tables made before names had keys get the column here.
                                "ALTER TABLE aliases ADD COLUMN IF NOT EXISTS"
                                " name_key TEXT NOT NULL DEFAULT '';"
                                "CREATE INDEX IF NOT EXISTS aliases_by_name_key"
                                " ON aliases(name_key, last_seen DESC);"
                                "CREATE TABLE IF NOT EXISTS name_events("
                                " session TEXT NOT NULL,"
                                " seq BIGINT NOT NULL,"
                                " kind TEXT NOT NULL,"
                                " name TEXT NOT NULL,"
                                " name_key TEXT NOT NULL,"
                                " new_name TEXT NOT NULL DEFAULT '',"
                                " new_key TEXT NOT NULL DEFAULT '',"
                                " server TEXT NOT NULL DEFAULT '',"
                                " at BIGINT NOT NULL,"
                                " PRIMARY KEY (session, seq));"
                                "CREATE INDEX IF NOT EXISTS name_events_by_key"
                                " ON name_events(name_key);"
                                "CREATE INDEX IF NOT EXISTS name_events_by_new_key"
                                " ON name_events(new_key);"
                                "COMMIT;";

constexpr const char* kRowsWithoutKey = "SELECT guid, name FROM aliases WHERE name_key = ''";
constexpr const char* kSetKey = "UPDATE aliases SET name_key = $3 WHERE guid = $1 AND name = $2";

constexpr const char* kUpsert =
    "INSERT INTO aliases AS a (guid, name, first_seen, last_seen, times_seen, last_mod, name_key)"
    " VALUES($1, $2, $3::bigint, $3::bigint, 1, $4, $5)"
    " ON CONFLICT (guid, name) DO UPDATE SET"
    " first_seen = LEAST(a.first_seen, EXCLUDED.first_seen),"
    " last_seen = GREATEST(a.last_seen, EXCLUDED.last_seen),"
    " times_seen = a.times_seen + 1,"
    " last_mod = CASE WHEN EXCLUDED.last_mod <> '' AND EXCLUDED.last_seen >= a.last_seen"
    " THEN EXCLUDED.last_mod ELSE a.last_mod END";

constexpr const char* kAliasesOf =
    "SELECT name, first_seen, last_seen, times_seen, last_mod FROM aliases"
    " WHERE guid = $1 ORDER BY last_seen DESC, name LIMIT $2::bigint";

constexpr const char* kSearch = "SELECT guid, name, last_seen, times_seen FROM aliases"
                                " WHERE strpos(lower(name), lower($1)) > 0"
                                " ORDER BY last_seen DESC, guid, name LIMIT $2::bigint";

constexpr const char* kGuidsUsingName = "SELECT guid FROM aliases WHERE name_key = $1"
                                        " GROUP BY guid ORDER BY max(last_seen) DESC, guid"
                                        " LIMIT $2::bigint";

// Byte order, as SQLite sorts, whatever the database's collation.
constexpr const char* kExportColumns =
    "SELECT guid, name, first_seen, last_seen, times_seen, last_mod FROM aliases"
    " WHERE (guid COLLATE \"C\", name COLLATE \"C\") > ($1, $2)";
constexpr const char* kExportOrder =
    " ORDER BY guid COLLATE \"C\", name COLLATE \"C\" LIMIT $3::bigint";

constexpr const char* kInsertEvent =
    "INSERT INTO name_events(session, seq, kind, name, name_key, new_name, new_key, server, at)"
    " VALUES($1, $2::bigint, $3, $4, $5, $6, $7, $8, $9::bigint)"
    " ON CONFLICT (session, seq) DO NOTHING";
constexpr const char* kEventColumns =
    "SELECT session, seq, kind, name, new_name, server, at FROM name_events";
constexpr const char* kRenamesOfName = " WHERE kind = 'renamed' AND (name_key = $1 OR new_key = $1)"
                                       " ORDER BY at DESC, seq DESC LIMIT $2::bigint";
constexpr const char* kSessionEventsOfName =
    " WHERE session = $3 AND (name_key = $1 OR new_key = $1) ORDER BY seq LIMIT $2::bigint";
// Byte order, as SQLite sorts.
constexpr const char* kExportEvents = " WHERE (session COLLATE \"C\", seq) > ($2, $3::bigint)"
                                      " ORDER BY session COLLATE \"C\", seq LIMIT $1::bigint";

constexpr int kAttempts = 3;

struct Result {
    PGresult* r = nullptr;
    ~Result() { PQclear(r); }
};

long long number(const std::string& digits) {
    return std::strtoll(digits.c_str(), nullptr, 10);
}

} // namespace

struct PostgresStore::Connection {
    PGconn* pg = nullptr;
    ~Connection() { PQfinish(pg); }

    bool ok() const { return PQstatus(pg) == CONNECTION_OK; }
    // A connection lost (server restart, network) is opened again before use.
    bool usable(std::string& error) {
        if (!ok())
            PQreset(pg);
        if (ok())
            return true;
        error = PQerrorMessage(pg);
        while (!error.empty() && error.back() == '\n')
            error.pop_back();
        return false;
    }

    // Runs a statement with text parameters; `sqlState` gets the error code.
    bool run(const char* sql, const std::vector<std::string>& params, Result& res,
             std::string& error, std::string* sqlState = nullptr) {
        std::vector<const char*> values;
        std::vector<int> lengths;
        for (const auto& p : params) {
            values.push_back(p.c_str());
            lengths.push_back(static_cast<int>(p.size()));
        }
        res.r = PQexecParams(pg, sql, static_cast<int>(params.size()), nullptr, values.data(),
                             lengths.data(), nullptr, 0);
        const auto status = PQresultStatus(res.r);
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            return true;
        error = PQerrorMessage(pg);
        while (!error.empty() && (error.back() == '\n' || error.back() == ' '))
            error.pop_back();
        if (sqlState) {
            const char* code = PQresultErrorField(res.r, PG_DIAG_SQLSTATE);
            *sqlState = code ? code : "";
        }
        return false;
    }
    bool exec(const char* sql, std::string& error) {
        Result res;
        // Without parameters PQexec allows several statements in one string.
        res.r = PQexec(pg, sql);
        if (PQresultStatus(res.r) == PGRES_COMMAND_OK)
            return true;
        error = PQerrorMessage(pg);
        return false;
    }
};

PostgresStore::PostgresStore(std::unique_ptr<Connection> c) : c_(std::move(c)) {}

PostgresStore::~PostgresStore() = default;

std::unique_ptr<PostgresStore> PostgresStore::open(const std::string& conninfo,
                                                   std::string& error) {
    auto c = std::make_unique<Connection>();
    c->pg = PQconnectdb(conninfo.c_str());
    if (!c->pg || !c->usable(error)) {
        error = "cannot use PostgreSQL: " + (c->pg ? error : std::string("out of memory"));
        return nullptr;
    }
    PQsetClientEncoding(c->pg, "UTF8");
    // Notices ("relation already exists, skipping") would interleave with the request log.
    PQsetNoticeProcessor(
        c->pg, [](void*, const char*) {}, nullptr);
    if (!c->exec(kSchema, error)) {
        error = "cannot use PostgreSQL: " + error;
        return nullptr;
    }
    std::unique_ptr<PostgresStore> store(new PostgresStore(std::move(c)));
    if (!store->addNameKeys(error)) {
        error = "cannot use PostgreSQL: " + error;
        return nullptr;
    }
    return store;
}

bool PostgresStore::addNameKeys(std::string& error) {
    std::vector<Row> missing;
    if (!select(
            kRowsWithoutKey, {}, [&](const Row& r) { missing.push_back(r); }, error))
        return false;
    for (const Row& r : missing) {
        const std::string key = nameKey(r[1]);
        Result res;
        if (!key.empty() && !c_->run(kSetKey, {r[0], r[1], key}, res, error))
            return false;
    }
    return true;
}

bool PostgresStore::tryRecord(const std::vector<const Sighting*>& ordered, std::string& error,
                              bool& retry) {
    Connection& c = *c_;
    retry = false;
    if (!c.exec("BEGIN", error))
        return false;
    for (const Sighting* s : ordered) {
        Result res;
        std::string state;
        if (!c.run(kUpsert, {s->guid, s->name, std::to_string(s->seenAt), s->mod, nameKey(s->name)},
                   res, error, &state)) {
            // Deadlock or serialization failure: the whole batch may be retried.
            retry = state == "40P01" || state == "40001";
            std::string ignored;
            c.exec("ROLLBACK", ignored);
            return false;
        }
    }
    if (c.exec("COMMIT", error))
        return true;
    std::string ignored;
    c.exec("ROLLBACK", ignored);
    return false;
}

bool PostgresStore::record(const std::vector<Sighting>& batch, std::string& error) {
    // Rows are locked in one global order, so concurrent batches seldom deadlock.
    std::vector<const Sighting*> ordered;
    for (const auto& s : batch)
        ordered.push_back(&s);
    std::sort(ordered.begin(), ordered.end(), [](const Sighting* a, const Sighting* b) {
        return std::tie(a->guid, a->name) < std::tie(b->guid, b->name);
    });
    if (!c_->usable(error))
        return false;
    bool retry = true;
    for (int attempt = 0; attempt < kAttempts && retry; ++attempt)
        if (tryRecord(ordered, error, retry))
            return true;
    return false;
}

bool PostgresStore::select(const char* sql, const std::vector<std::string>& params,
                           const std::function<void(const Row&)>& onRow, std::string& error) {
    Result res;
    if (!c_->usable(error) || !c_->run(sql, params, res, error))
        return false;
    Row row(static_cast<std::size_t>(PQnfields(res.r)));
    for (int r = 0; r < PQntuples(res.r); ++r) {
        for (int f = 0; f < PQnfields(res.r); ++f)
            row[static_cast<std::size_t>(f)].assign(
                PQgetvalue(res.r, r, f), static_cast<std::size_t>(PQgetlength(res.r, r, f)));
        onRow(row);
    }
    return true;
}

bool PostgresStore::aliasesOf(const std::string& guid, std::size_t limit,
                              std::vector<AliasRow>& out, std::string& error) {
    return select(
        kAliasesOf, {guid, std::to_string(limit)},
        [&](const Row& r) {
            out.push_back({r[0], number(r[1]), number(r[2]), number(r[3]), r[4]});
        },
        error);
}

bool PostgresStore::searchNames(const std::string& part, std::size_t limit,
                                std::vector<NameMatch>& out, std::string& error) {
    return select(
        kSearch, {part, std::to_string(limit)},
        [&](const Row& r) {
            out.push_back({r[0], r[1], number(r[2]), number(r[3])});
        },
        error);
}

bool PostgresStore::guidsUsingName(const std::string& key, std::size_t limit,
                                   std::vector<std::string>& out, std::string& error) {
    return select(
        kGuidsUsingName, {key, std::to_string(limit)}, [&](const Row& r) { out.push_back(r[0]); },
        error);
}

bool PostgresStore::forgetGuid(const std::string& guid, std::size_t& removed, std::string& error) {
    return deleteAndVacuum("DELETE FROM aliases WHERE guid = $1", "VACUUM aliases", guid, removed,
                           error);
}

bool PostgresStore::forgetName(const std::string& key, std::size_t& removed, std::string& error) {
    return deleteAndVacuum("DELETE FROM name_events WHERE name_key = $1 OR new_key = $1",
                           "VACUUM name_events", key, removed, error);
}

bool PostgresStore::deleteAndVacuum(const char* sql, const char* vacuum, const std::string& param,
                                    std::size_t& removed, std::string& error) {
    Result res;
    if (!c_->usable(error) || !c_->run(sql, {param}, res, error))
        return false;
    removed = static_cast<std::size_t>(number(PQcmdTuples(res.r)));
    // Frees the deleted rows' space for reuse at once; their bytes stay in
    // the table's files until it is reused (README).
    return c_->exec(vacuum, error);
}

bool PostgresStore::recordNameEvents(const std::vector<NameEvent>& events, std::string& error) {
    Connection& c = *c_;
    if (!c.usable(error) || !c.exec("BEGIN", error))
        return false;
    for (const NameEvent& e : events) {
        Result res;
        if (!c.run(kInsertEvent,
                   {e.session, std::to_string(e.seq), e.kind, e.name, nameKey(e.name), e.newName,
                    nameKey(e.newName), e.server, std::to_string(e.at)},
                   res, error)) {
            std::string ignored;
            c.exec("ROLLBACK", ignored);
            return false;
        }
    }
    return c.exec("COMMIT", error);
}

bool PostgresStore::selectEvents(const char* where, const std::vector<std::string>& params,
                                 std::vector<NameEvent>& out, std::string& error) {
    const std::string sql = std::string(kEventColumns) + where;
    return select(
        sql.c_str(), params,
        [&](const Row& r) {
            out.push_back({r[0], number(r[1]), r[2], r[3], r[4], r[5], number(r[6])});
        },
        error);
}

bool PostgresStore::renamesOfName(const std::string& key, std::size_t limit,
                                  std::vector<NameEvent>& out, std::string& error) {
    return selectEvents(kRenamesOfName, {key, std::to_string(limit)}, out, error);
}

bool PostgresStore::sessionEventsOfName(const std::string& session, const std::string& key,
                                        std::size_t limit, std::vector<NameEvent>& out,
                                        std::string& error) {
    return selectEvents(kSessionEventsOfName, {key, std::to_string(limit), session}, out, error);
}

bool PostgresStore::exportNameEvents(const std::string& afterSession, std::int64_t afterSeq,
                                     std::size_t limit, std::vector<NameEvent>& out,
                                     std::string& error) {
    return selectEvents(
        kExportEvents, {std::to_string(limit), afterSession, std::to_string(afterSeq)}, out, error);
}

bool PostgresStore::exportRows(const std::string& guid, const std::string& afterGuid,
                               const std::string& afterName, std::size_t limit,
                               std::vector<GuidAliasRow>& out, std::string& error) {
    std::vector<std::string> params{afterGuid, afterName, std::to_string(limit)};
    std::string sql = kExportColumns;
    if (!guid.empty()) {
        sql += " AND guid = $4";
        params.push_back(guid);
    }
    sql += kExportOrder;
    return select(
        sql.c_str(), params,
        [&](const Row& r) {
            out.push_back({r[0], {r[1], number(r[2]), number(r[3]), number(r[4]), r[5]}});
        },
        error);
}

} // namespace hh::aliasdb
