#pragma once
// What the database knows about players, beyond one GUID's alias page:
//   POST /players  JSON array of {"guid", "name"?} (the players of one list,
//                  at most 64): per player its names, first and last sighting
//                  and its most used other name; and each GUID whose most
//                  used name this player wears
//   GET  /seen?name=...  the GUIDs that used a name (colour codes and case
//                  ignored), newest first
//   POST /forget   JSON array of {"guid"}: removes every row of those GUIDs
//
// /players and /seen answer in lines of tab-separated fields, a kind first,
// then name=value pairs, which the program reads without a JSON parser
// (names never hold tabs or line breaks: the store refuses control
// characters):
//   player<TAB>guid=1a2b3c4d<TAB>aliases=3<TAB>first_seen=2026-11-01<TAB>
//       last_seen=2026-12-04<TAB>other_name=Old One<TAB>other_uses=12
//   namesake<TAB>guid=1a2b3c4d<TAB>owner=9f9f9f9f<TAB>name=Bob<TAB>uses=40<TAB>
//       last_seen=2026-12-01
//   seen<TAB>guid=9f9f9f9f<TAB>name=Bob<TAB>uses=40<TAB>last_seen=2026-12-01
// A player the database does not know has aliases=0 and nothing else.
#include "AliasStore.h"
#include "HttpMessage.h"

#include <optional>

namespace hh::aliasdb {

// Appends "<TAB>name=value" to an answer line.
void addField(std::string& line, std::string_view name, std::string_view value);

class RecordRoutes {
  public:
    explicit RecordRoutes(AliasStore& store);

    // nullopt when the request is for another route.
    std::optional<HttpResponse> handle(const HttpRequest& request);

    static constexpr std::size_t kMaxPlayers = 64;
    static constexpr std::size_t kMaxSeenGuids = 50;
    // A name many GUIDs wore is checked against its most recent wearers only.
    static constexpr std::size_t kMaxNamesakeCandidates = 20;
    static constexpr std::size_t kMaxRowsPerGuid = 10000;

  private:
    HttpResponse players(const std::string& body);
    HttpResponse seen(const std::string& name);
    HttpResponse forget(const std::string& body);

    AliasStore& store_;
};

} // namespace hh::aliasdb
