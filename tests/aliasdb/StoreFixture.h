#pragma once
// Opens a real store of either kind for a test: an SQLite file in a fresh
// temporary folder, or a fresh schema on the test PostgreSQL server.
#include "AliasStore.h"
#include "SqliteStore.h"

#include <filesystem>
#include <memory>
#include <string>

namespace hh::aliasdb::test {

enum class Backend { Sqlite, Postgres };

struct StoreSpot {
    Backend backend;
    std::filesystem::path sqliteFile; // Sqlite
    std::string conninfo;             // Postgres
    std::string skipReason;           // not empty: the backend cannot run here

    std::unique_ptr<AliasStore> open(std::string& error, SqliteOptions options = {}) const;
};

// `folder` must outlive the spot (SQLite file lives there).
StoreSpot makeStoreSpot(Backend backend, const std::filesystem::path& folder);
std::string backendName(Backend backend);

} // namespace hh::aliasdb::test
