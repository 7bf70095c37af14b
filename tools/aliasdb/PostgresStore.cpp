#include "PostgresStore.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace hh::aliasdb {

namespace {

constexpr const char* kSchema = "CREATE TABLE IF NOT EXISTS aliases("
                                " guid TEXT NOT NULL,"
                                " name TEXT NOT NULL,"
                                " first_seen BIGINT NOT NULL,"
                                " last_seen BIGINT NOT NULL,"
                                " times_seen BIGINT NOT NULL DEFAULT 1,"
                                " last_mod TEXT NOT NULL DEFAULT '',"
                                " PRIMARY KEY (guid, name));"
                                "CREATE INDEX IF NOT EXISTS aliases_by_guid_time"
                                " ON aliases(guid, last_seen DESC);";

constexpr const char* kUpsert =
    "INSERT INTO aliases AS a (guid, name, first_seen, last_seen, times_seen, last_mod)"
    " VALUES($1, $2, $3::bigint, $3::bigint, 1, $4)"
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
    return std::unique_ptr<PostgresStore>(new PostgresStore(std::move(c)));
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
        if (!c.run(kUpsert, {s->guid, s->name, std::to_string(s->seenAt), s->mod}, res, error,
                   &state)) {
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

} // namespace hh::aliasdb
