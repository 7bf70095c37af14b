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

// One row with its GUID, for exports.
struct GuidAliasRow {
    std::string guid;
    AliasRow row;
};

struct NameMatch {
    std::string guid;
    std::string name;
    std::int64_t lastSeen = 0;
    std::int64_t timesSeen = 0;
};

// One line of a player's console about another player's name: "connected",
// "entered", "renamed" (name -> newName), "disconnected" or "kicked", in a
// session (one stay on one server, as the program that saw it names it).
struct NameEvent {
    std::string session;
    std::int64_t seq = 0; // orders the events of a session
    std::string kind;
    std::string name;
    std::string newName; // renamed only
    std::string server;  // may be empty
    std::int64_t at = 0; // seconds since 1970 UTC
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

    // Reverse lookup, records and privacy. Names are matched by their key
    // (gamelink/NameKey.h), which the store keeps beside each name.
    // GUIDs that used a name with this key, most recently seen under it first.
    virtual bool guidsUsingName(const std::string& nameKey, std::size_t limit,
                                std::vector<std::string>& out, std::string& error) = 0;
    // Removes every row of a GUID so that nothing of it stays in the
    // database's files; `removed` counts the rows.
    virtual bool forgetGuid(const std::string& guid, std::size_t& removed, std::string& error) = 0;
    // Rows in (guid, name) order after the given pair ("" and "" for the
    // first page), of one GUID or, with `guid` empty, of all.
    virtual bool exportRows(const std::string& guid, const std::string& afterGuid,
                            const std::string& afterName, std::size_t limit,
                            std::vector<GuidAliasRow>& out, std::string& error) = 0;

    // Name events. An event already stored (same session and seq) stays as it
    // is, so a batch sent twice changes nothing. All or nothing.
    virtual bool recordNameEvents(const std::vector<NameEvent>& events, std::string& error) = 0;
    // Renames from or to a name with this key, newest first.
    virtual bool renamesOfName(const std::string& nameKey, std::size_t limit,
                               std::vector<NameEvent>& out, std::string& error) = 0;
    // The events of one session from or to a name with this key, in order.
    virtual bool sessionEventsOfName(const std::string& session, const std::string& nameKey,
                                     std::size_t limit, std::vector<NameEvent>& out,
                                     std::string& error) = 0;
    // Removes every event from or to a name with this key.
    virtual bool forgetName(const std::string& nameKey, std::size_t& removed,
                            std::string& error) = 0;
    // Events in (session, seq) order after the given pair ("" and 0 first).
    virtual bool exportNameEvents(const std::string& afterSession, std::int64_t afterSeq,
                                  std::size_t limit, std::vector<NameEvent>& out,
                                  std::string& error) = 0;
};

} // namespace hh::aliasdb
