// Both stores against real databases: merging of repeated sightings, order,
// search, hostile text, concurrent writers, all-or-nothing batches, and the
// name links walked through renames.
#include "NameLinks.h"
#include "PostgresStore.h"
#include "SqliteStore.h"

#include "common/Strings.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace hh::aliasdb::test {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kT0 = 1796479200; // 2026-12-05T14:00:00Z

// The server named by HH_TEST_POSTGRES (tools/bootstrap.sh test starts a
// throwaway one); without it the PostgreSQL half skips itself.
struct Postgres {
    static bool exec(const std::string& sql) {
        PGconn* c = PQconnectdb(conninfo());
        PQsetNoticeProcessor(
            c, [](void*, const char*) {}, nullptr);
        PGresult* r = PQexec(c, sql.c_str());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        PQfinish(c);
        return ok;
    }
    static const char* conninfo() {
        const char* given = std::getenv("HH_TEST_POSTGRES");
        return given ? given : "";
    }
};

enum class Backend { Sqlite, Postgres };

class StoreTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        if (GetParam() == Backend::Postgres) {
            static int schemas = 0;
            if (!*Postgres::conninfo())
                GTEST_SKIP() << "PostgreSQL tests skipped: HH_TEST_POSTGRES is not set";
            schema_ = "hh_test_" + std::to_string(::getpid()) + "_" + std::to_string(++schemas);
            ASSERT_TRUE(Postgres::exec("DROP SCHEMA IF EXISTS " + schema_ +
                                       " CASCADE; CREATE SCHEMA " + schema_));
        }
        std::string error;
        store_ = open(error);
        ASSERT_TRUE(store_) << error;
    }
    void TearDown() override {
        store_.reset();
        if (!schema_.empty())
            Postgres::exec("DROP SCHEMA " + schema_ + " CASCADE");
    }
    std::unique_ptr<AliasStore> open(std::string& error, SqliteOptions options = {}) {
        if (GetParam() == Backend::Sqlite)
            return SqliteStore::open(temp_ / "aliases.sqlite", error, options);
        return PostgresStore::open(
            std::string(Postgres::conninfo()) + " options='-c search_path=" + schema_ + "'", error);
    }
    void record(const std::vector<Sighting>& batch) {
        std::string error;
        ASSERT_TRUE(store_->record(batch, error)) << error;
    }
    // "name first last times mod" per alias, most recently used first.
    std::vector<std::string> aliases(const std::string& guid, std::size_t limit = 999) {
        std::vector<AliasRow> rows;
        std::string error;
        EXPECT_TRUE(store_->aliasesOf(guid, limit, rows, error)) << error;
        std::vector<std::string> out;
        for (const auto& r : rows)
            out.push_back(r.name + " " + std::to_string(r.firstSeen - kT0) + " " +
                          std::to_string(r.lastSeen - kT0) + " " + std::to_string(r.timesSeen) +
                          " " + r.lastMod);
        return out;
    }

    hh::test::TempDir temp_;
    std::string schema_;
    std::unique_ptr<AliasStore> store_;
};

TEST_P(StoreTest, MergesRepeatedSightings) {
    record({{"1a2b3c4d", "Alpha", kT0, "osp"},
            {"1a2b3c4d", "Beta", kT0 - kDay, "osp"},
            {"1a2b3c4d", "Alpha", kT0 - 5 * kDay, "arena"}, // older: first_seen only
            {"1a2b3c4d", "Beta", kT0 + 60, ""},             // newer, mod unknown: keep osp
            {"ffffffff", "Other", kT0, "osp"}});
    record({{"1a2b3c4d", "Gamma", kT0 - 2 * kDay, "q3ut2"}});
    EXPECT_EQ(aliases("1a2b3c4d"),
              (std::vector<std::string>{"Beta -86400 60 2 osp", "Alpha -432000 0 2 osp",
                                        "Gamma -172800 -172800 1 q3ut2"}));
    EXPECT_EQ(aliases("ffffffff"), std::vector<std::string>{"Other 0 0 1 osp"});
    EXPECT_TRUE(aliases("00000000").empty());
    EXPECT_EQ(aliases("1a2b3c4d", 2).size(), 2u);
}

TEST_P(StoreTest, KeepsHostileTextAsData) {
    const std::vector<std::string> odd = {"O'Brien", "x\"); DROP TABLE aliases; --",
                                          "50%_off", "\xC3\xA9l\xC3\xA8ve \xF0\x9F\x98\x80",
                                          "Alpha",   "alpha"}; // names differ by case: two aliases
    std::vector<Sighting> batch;
    for (std::size_t i = 0; i < odd.size(); ++i)
        batch.push_back({"1a2b3c4d", odd[i], kT0 - static_cast<std::int64_t>(i), ""});
    record(batch);
    const auto rows = aliases("1a2b3c4d");
    for (std::size_t i = 0; i < odd.size(); ++i)
        EXPECT_EQ(rows.at(i).rfind(odd[i] + " ", 0), 0u) << rows.at(i);

    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"ALPHA", {"Alpha", "alpha"}}, // ASCII case ignored
        {"%", {"50%_off"}},            // no LIKE wildcards
        {"'", {"O'Brien"}},
        {"nobody", {}},
    };
    for (const auto& [part, expected] : cases) {
        std::vector<NameMatch> matches;
        std::string error;
        ASSERT_TRUE(store_->searchNames(part, 10, matches, error)) << error;
        std::vector<std::string> found;
        for (const auto& m : matches)
            found.push_back(m.guid == "1a2b3c4d" ? m.name : "wrong guid");
        EXPECT_EQ(found, expected) << part;
    }
}

TEST_P(StoreTest, ConcurrentWritersLoseNothing) {
    // Separate stores act like separate processes (the service and an import).
    constexpr int kWriters = 6, kBatches = 25;
    std::vector<std::thread> writers;
    std::atomic<int> failures{0};
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            std::string error;
            auto store = open(error);
            for (int b = 0; b < kBatches; ++b) {
                // Overlapping keys in different orders: the hard case for locks.
                std::vector<Sighting> batch;
                for (int k = 0; k < 8; ++k)
                    batch.push_back(
                        {"1a2b3c4d", concat({"n", std::to_string(w % 2 ? 7 - k : k)}), kT0, ""});
                failures += !store || !store->record(batch, error);
            }
        });
    for (auto& t : writers)
        t.join();
    EXPECT_EQ(failures, 0);
    const auto rows = aliases("1a2b3c4d");
    ASSERT_EQ(rows.size(), 8u);
    for (const auto& row : rows)
        EXPECT_NE(row.find(" 0 0 " + std::to_string(kWriters * kBatches) + " "), std::string::npos)
            << row;
}

TEST_P(StoreTest, FailedBatchStoresNothing) {
    record({{"1a2b3c4d", "Before", kT0, "osp"}});
    std::vector<Sighting> batch;
    for (int i = 0; i < 3000; ++i)
        batch.push_back({"1a2b3c4d", "name" + std::to_string(i) + std::string(40, 'x'), kT0, ""});
    // SQLite: a file that cannot grow (a full disk as it sees it). PostgreSQL:
    // text that is not UTF-8 fails on the last row.
    if (GetParam() == Backend::Postgres)
        batch.back().name = "bad\xFFname";
    std::string error;
    const auto failing = open(error, SqliteOptions{5000, 8});
    ASSERT_TRUE(failing) << error;
    EXPECT_FALSE(failing->record(batch, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(aliases("1a2b3c4d"), std::vector<std::string>{"Before 0 0 1 osp"});
    record({{"1a2b3c4d", "After", kT0 + 1, ""}}); // still usable afterwards
    EXPECT_EQ(aliases("1a2b3c4d"), (std::vector<std::string>{"After 1 1 1 ", "Before 0 0 1 osp"}));
}

TEST_P(StoreTest, NamesByKeyExportPagesAndForget) {
    // A table from before names had keys: opening it gives its names theirs.
    store_.reset();
    const std::string old =
        "DROP TABLE aliases; CREATE TABLE aliases(guid TEXT NOT NULL, name TEXT NOT NULL,"
        " first_seen BIGINT NOT NULL, last_seen BIGINT NOT NULL, times_seen BIGINT NOT NULL,"
        " last_mod TEXT NOT NULL, PRIMARY KEY (guid, name));"
        " INSERT INTO aliases VALUES('1a2b3c4d', '^1Bob', 10, 10, 1, '')";
    if (GetParam() == Backend::Sqlite) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((temp_ / "aliases.sqlite").c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, old.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    } else {
        ASSERT_TRUE(Postgres::exec("SET search_path TO " + schema_ + "; " + old));
    }
    std::string error;
    store_ = open(error);
    ASSERT_TRUE(store_) << error;
    record({{"ffffffff", "BOB", kT0, ""},
            {"1a2b3c4d", "Alpha", kT0 - kDay, ""},
            {"00000000", "Bobby", kT0, ""},
            {"00000000", "b^7ob", kT0 - 60, ""}});

    const auto usingName = [&](const std::string& key, std::size_t limit) {
        std::vector<std::string> guids;
        EXPECT_TRUE(store_->guidsUsingName(key, limit, guids, error)) << error;
        return guids;
    };
    EXPECT_EQ(usingName("bob", 10), (std::vector<std::string>{"ffffffff", "00000000", "1a2b3c4d"}));
    EXPECT_EQ(usingName("bob", 1), std::vector<std::string>{"ffffffff"});

    // Pages of two rows in byte order (upper case before lower), of all or of one GUID.
    const auto exported = [&](const std::string& guid) {
        std::vector<std::string> rows;
        std::string afterGuid, afterName;
        for (std::vector<GuidAliasRow> page;; page.clear()) {
            EXPECT_TRUE(store_->exportRows(guid, afterGuid, afterName, 2, page, error)) << error;
            for (const auto& r : page)
                rows.push_back(r.guid + " " + r.row.name);
            if (page.size() < 2)
                return rows;
            afterGuid = page.back().guid;
            afterName = page.back().row.name;
        }
    };
    EXPECT_EQ(exported(""),
              (std::vector<std::string>{"00000000 Bobby", "00000000 b^7ob", "1a2b3c4d Alpha",
                                        "1a2b3c4d ^1Bob", "ffffffff BOB"}));
    EXPECT_EQ(exported("1a2b3c4d"), (std::vector<std::string>{"1a2b3c4d Alpha", "1a2b3c4d ^1Bob"}));

    std::size_t removed = 0;
    ASSERT_TRUE(store_->forgetGuid("1a2b3c4d", removed, error)) << error;
    EXPECT_EQ(removed, 2u);
    EXPECT_TRUE(aliases("1a2b3c4d").empty());
    EXPECT_EQ(usingName("bob", 10), (std::vector<std::string>{"ffffffff", "00000000"}));
    EXPECT_EQ(exported("").size(), 3u);
}

TEST_P(StoreTest, NameLinksFollowOnePlayerInOneSession) {
    // Session a on one server: Alpha becomes Bravo, then Charlie; later someone
    // else takes Echo after its holder left. Session b, elsewhere: a Charlie
    // becomes Delta.
    const std::vector<NameEvent> events = {
        {"a", 1, "connected", "Alpha", "", "s1", kT0},
        {"a", 2, "renamed", "Alpha", "^1Bra^7vo", "s1", kT0 + 10},
        {"a", 3, "entered", "^1Bra^7vo", "", "s1", kT0 + 15},
        {"a", 4, "renamed", "^1Bra^7vo", "Charlie", "s1", kT0 + 20},
        {"a", 5, "renamed", "Foxtrot", "Echo", "s1", kT0 + 30},
        {"a", 6, "disconnected", "Echo", "", "s1", kT0 + 40},
        {"a", 7, "connected", "Echo", "", "s1", kT0 + 50},
        {"a", 8, "renamed", "Echo", "Golf", "s1", kT0 + 60},
        {"b", 1, "renamed", "Charlie", "Delta", "s2", kT0 + 100},
    };
    std::string error;
    ASSERT_TRUE(store_->recordNameEvents(events, error)) << error;
    ASSERT_TRUE(store_->recordNameEvents({{"a", 2, "renamed", "X", "Y", "", kT0}}, error))
        << "a repeated event is kept as first stored: " << error;
    const struct {
        std::string key;
        std::vector<std::string> linked; // "name@server", newest first
    } cases[] = {
        {"alpha", {"Charlie@s1", "^1Bra^7vo@s1"}},
        {"charlie", {"Delta@s2", "^1Bra^7vo@s1", "Alpha@s1"}},
        {"echo", {"Golf@s1", "Foxtrot@s1"}},
        {"golf", {"Echo@s1"}},
    };
    for (const auto& c : cases) {
        std::vector<NameLinkRow> rows;
        ASSERT_TRUE(linkedNames(*store_, c.key, 50, rows, error)) << error;
        std::vector<std::string> linked;
        for (const auto& r : rows)
            linked.push_back(r.name + "@" + r.server);
        EXPECT_EQ(linked, c.linked) << c.key;
    }

    // Export pages in (session, seq) order; forgetting a name takes its links.
    std::vector<std::string> exported;
    std::string afterSession;
    std::int64_t afterSeq = 0;
    for (std::vector<NameEvent> page;; page.clear()) {
        ASSERT_TRUE(store_->exportNameEvents(afterSession, afterSeq, 4, page, error)) << error;
        for (const auto& e : page)
            exported.push_back(e.session + std::to_string(e.seq));
        if (page.size() < 4)
            break;
        afterSession = page.back().session;
        afterSeq = page.back().seq;
    }
    EXPECT_EQ(exported,
              (std::vector<std::string>{"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "b1"}));
    std::size_t removed = 0;
    ASSERT_TRUE(store_->forgetName("charlie", removed, error)) << error;
    EXPECT_EQ(removed, 2u);
    std::vector<NameLinkRow> rows;
    ASSERT_TRUE(linkedNames(*store_, "alpha", 50, rows, error)) << error;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "^1Bra^7vo");
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
                         });

} // namespace
} // namespace hh::aliasdb::test
