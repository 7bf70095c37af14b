#pragma once
// Where sightings are kept: one row per (GUID, name). A store is one
// connection to its database: one thread uses it at a time, and any number of
// stores, in threads or processes, may use one database at once.
#include "SightingBatch.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hh::aliasdb {

struct AliasRow {
    std::string name;
    std::int64_t firstSeen = 0;
    std::int64_t lastSeen = 0;
    std::int64_t timesSeen = 0;
    std::string lastMod;
};

struct NameMatch {
    std::string guid;
    std::string name;
    std::int64_t lastSeen = 0;
    std::int64_t timesSeen = 0;
};

class AliasStore {
  public:
    virtual ~AliasStore() = default;
    // All or nothing: on failure no sighting of the batch is stored.
    virtual bool record(const std::vector<Sighting>& batch, std::string& error) = 0;
    // Aliases of a GUID (lower case), most recently used first.
    virtual bool aliasesOf(const std::string& guid, std::size_t limit, std::vector<AliasRow>& out,
                           std::string& error) = 0;
    // Names containing `part`, ignoring ASCII case, most recently used first.
    virtual bool searchNames(const std::string& part, std::size_t limit,
                             std::vector<NameMatch>& out, std::string& error) = 0;
};

} // namespace hh::aliasdb
