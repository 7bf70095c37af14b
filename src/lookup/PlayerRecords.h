#pragma once
// What our alias database knows about players beyond one alias page: a
// whole player list in one request (POST /players) and the GUIDs behind a
// name (GET /seen). The answers are lines of tab-separated name=value
// fields (tools/aliasdb/RecordRoutes.h); they come from the network, so
// every field is checked and bounded before anyone sees it.
#include "gamelink/Sightings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hh {

struct Platform;
struct FetchResult;

struct PlayerRecord {
    std::string guid;
    std::int64_t aliases = 0; // 0: never seen
    std::string firstSeen;    // "YYYY-MM-DD" or ""
    std::string otherName;    // most used name besides the one worn now, or ""
    std::int64_t otherUses = 0;
};

// `guid` wears the most used name of `owner`.
struct Namesake {
    std::string guid, owner, name;
    std::int64_t uses = 0;
    std::string lastSeen;
};

struct SeenRecord {
    std::string guid, name; // name: the GUID's most used
    std::int64_t uses = 0;
    std::string lastSeen;
};

struct RecordsReply {
    // "" when the answer was read; otherwise what the database did, to follow
    // "the alias database at <address> ": "could not be reached (...)",
    // "answered with HTTP 404" (another database without these requests),
    // "gave an answer Handlehound cannot read". `unreachable` for the first.
    std::string error;
    bool unreachable = false;
    std::vector<PlayerRecord> players;
    std::vector<Namesake> namesakes;
    std::vector<SeenRecord> seen;
};

RecordsReply readRecordsReply(const FetchResult& fetched);

class RecordsClient {
  public:
    // `address` gives the lookup address (scheme, host and port, no trailing '/').
    RecordsClient(Platform& platform, std::function<std::string()> address);
    // The callback runs later, on the UI thread, exactly once.
    void players(const std::vector<SightedPlayer>& players,
                 std::function<void(const RecordsReply&)> done);
    void seen(const std::string& name, std::function<void(const RecordsReply&)> done);

  private:
    Platform& platform_;
    std::function<std::string()> address_;
};

} // namespace hh
