#include "StoreFixture.h"

#include "PostgresCluster.h"
#include "PostgresStore.h"

namespace hh::aliasdb::test {

std::unique_ptr<AliasStore> StoreSpot::open(std::string& error, SqliteOptions options) const {
    if (backend == Backend::Sqlite)
        return SqliteStore::open(sqliteFile, error, options);
    return PostgresStore::open(conninfo, error);
}

StoreSpot makeStoreSpot(Backend backend, const std::filesystem::path& folder) {
    StoreSpot spot{backend, folder / "aliases.sqlite", {}, {}};
    if (backend == Backend::Postgres) {
        auto& cluster = PostgresCluster::instance();
        if (!cluster.available())
            spot.skipReason = "PostgreSQL tests skipped: " + cluster.whyNot();
        else if ((spot.conninfo = cluster.freshSchema()).empty())
            spot.skipReason = "PostgreSQL tests skipped: cannot create a schema";
    }
    return spot;
}

std::string backendName(Backend backend) {
    return backend == Backend::Sqlite ? "Sqlite" : "Postgres";
}

} // namespace hh::aliasdb::test
