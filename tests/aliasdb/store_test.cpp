// Both stores against real databases: merging of repeated sightings, order,
// search, hostile text, concurrent writers, and all-or-nothing batches.
#include "StoreFixture.h"

#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <thread>

namespace hh::aliasdb::test {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kT0 = 1796479200; // 2026-12-05T14:00:00Z

class StoreTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        spot_ = makeStoreSpot(GetParam(), temp_.path());
        if (!spot_.skipReason.empty())
            GTEST_SKIP() << spot_.skipReason;
        std::string error;
        store_ = spot_.open(error);
        ASSERT_TRUE(store_) << error;
    }
    void record(const std::vector<Sighting>& batch) {
        std::string error;
        ASSERT_TRUE(store_->record(batch, error)) << error;
    }
    std::vector<AliasRow> aliases(const std::string& guid, std::size_t limit = 999) {
        std::vector<AliasRow> rows;
        std::string error;
        EXPECT_TRUE(store_->aliasesOf(guid, limit, rows, error)) << error;
        return rows;
    }
    std::vector<std::string> names(const std::string& guid) {
        std::vector<std::string> out;
        for (const auto& row : aliases(guid))
            out.push_back(row.name);
        return out;
    }

    hh::test::TempDir temp_;
    StoreSpot spot_;
    std::unique_ptr<AliasStore> store_;
};

TEST_P(StoreTest, MergesRepeatedSightings) {
    record({{"1a2b3c4d", "Alpha", kT0, "osp"},
            {"1a2b3c4d", "Beta", kT0 - kDay, "osp"},
            {"1a2b3c4d", "Alpha", kT0 - 5 * kDay, "arena"}, // older: first_seen only
            {"1a2b3c4d", "Beta", kT0 + 60, ""},             // newer, mod unknown: keep osp
            {"ffffffff", "Other", kT0, "osp"}});
    record({{"1a2b3c4d", "Gamma", kT0 - 2 * kDay, "q3ut2"}});
    const auto rows = aliases("1a2b3c4d");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Beta"); // most recently used first
    EXPECT_EQ(rows[0].lastSeen, kT0 + 60);
    EXPECT_EQ(rows[0].firstSeen, kT0 - kDay);
    EXPECT_EQ(rows[0].timesSeen, 2);
    EXPECT_EQ(rows[0].lastMod, "osp");
    EXPECT_EQ(rows[1].name, "Alpha");
    EXPECT_EQ(rows[1].firstSeen, kT0 - 5 * kDay);
    EXPECT_EQ(rows[1].lastSeen, kT0);
    EXPECT_EQ(rows[1].lastMod, "osp"); // the older sighting's mod does not win
    EXPECT_EQ(rows[2].name, "Gamma");
    EXPECT_EQ(names("ffffffff"), std::vector<std::string>{"Other"});
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
    EXPECT_EQ(names("1a2b3c4d"), odd);

    struct Case {
        std::string part;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"ALPHA", {"Alpha", "alpha"}}, // ASCII case ignored
        {"%", {"50%_off"}},            // no LIKE wildcards
        {"_", {"50%_off"}},
        {"'", {"O'Brien"}},
        {"\xC3\xA9l", {"\xC3\xA9l\xC3\xA8ve \xF0\x9F\x98\x80"}},
        {"nobody", {}},
    };
    for (const auto& c : cases) {
        std::vector<NameMatch> matches;
        std::string error;
        ASSERT_TRUE(store_->searchNames(c.part, 10, matches, error)) << error;
        std::vector<std::string> found;
        for (const auto& m : matches) {
            found.push_back(m.name);
            EXPECT_EQ(m.guid, "1a2b3c4d");
        }
        EXPECT_EQ(found, c.found) << c.part;
    }
}

TEST_P(StoreTest, ConcurrentWritersLoseNothing) {
    // Separate stores act like separate processes (the service and an import).
    constexpr int kWriters = 6, kBatches = 25;
    std::vector<std::thread> writers;
    std::atomic<int> failures{0};
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            std::string error;
            auto store = spot_.open(error);
            if (!store) {
                ++failures;
                return;
            }
            for (int b = 0; b < kBatches; ++b) {
                // Overlapping keys in different orders: the hard case for locks.
                std::vector<Sighting> batch;
                for (int k = 0; k < 8; ++k) {
                    const int key = (w % 2 == 0) ? k : 7 - k;
                    batch.push_back({"1a2b3c4d", "name" + std::to_string(key), kT0 + b, "osp"});
                }
                if (!store->record(batch, error))
                    ++failures;
            }
        });
    }
    for (auto& t : writers)
        t.join();
    EXPECT_EQ(failures, 0);
    const auto rows = aliases("1a2b3c4d");
    ASSERT_EQ(rows.size(), 8u);
    for (const auto& row : rows)
        EXPECT_EQ(row.timesSeen, kWriters * kBatches) << row.name;
}

TEST_P(StoreTest, FailedBatchStoresNothing) {
    record({{"1a2b3c4d", "Before", kT0, "osp"}});
    std::vector<Sighting> batch;
    for (int i = 0; i < 3000; ++i)
        batch.push_back(
            {"1a2b3c4d", "name" + std::to_string(i) + std::string(40, 'x'), kT0, "osp"});
    std::unique_ptr<AliasStore> failing;
    std::string error;
    if (GetParam() == Backend::Sqlite) {
        // A database file that cannot grow: a full disk as SQLite sees it.
        failing = spot_.open(error, SqliteOptions{5000, 8});
    } else {
        // PostgreSQL refuses text that is not UTF-8: a failure on the last row.
        batch.back().name = "bad\xFFname";
        failing = spot_.open(error);
    }
    ASSERT_TRUE(failing) << error;
    EXPECT_FALSE(failing->record(batch, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(names("1a2b3c4d"), std::vector<std::string>{"Before"});
    record({{"1a2b3c4d", "After", kT0 + 1, ""}}); // still usable afterwards
    EXPECT_EQ(names("1a2b3c4d"), (std::vector<std::string>{"After", "Before"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) { return backendName(info.param); });

TEST(SqliteStoreTest, OpenFailureNamesTheFile) {
    std::string error;
    EXPECT_FALSE(SqliteStore::open("/nonexistent-folder/x/aliases.sqlite", error));
    EXPECT_NE(error.find("/nonexistent-folder/x/aliases.sqlite"), std::string::npos) << error;
}

} // namespace
} // namespace hh::aliasdb::test
