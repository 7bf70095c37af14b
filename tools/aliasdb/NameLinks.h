#pragma once
// Name links: what players' consoles showed of other players' names.
//   POST /names  JSON array of {"kind", "name", "new_name"?, "server"?,
//                "session", "at"?, "seq"}, all strings (seq in digits);
//                kind is connected, entered, renamed (with new_name),
//                disconnected or kicked
//   GET  /links?name=...  the names linked to this one by renames, newest
//                first, one line each:
//                link<TAB>name=^1Bra^7vo<TAB>at=1765019856<TAB>server=1.2.3.4:27960
//
// A rename links the name left to the name taken only inside one session
// (one stay on one server, as the sending program names it), and a chain
// goes on through a name only while nobody else can have taken it: a
// connect, leave or earlier rename under that name ends it. So two players
// who swap names on different servers, or on one server on different days,
// are never joined.
#include "AliasStore.h"
#include "HttpMessage.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace hh::aliasdb {

struct NameLinkRow {
    std::string name;
    std::int64_t at = 0;
    std::string server;
};

// The names linked to `nameKey`, newest first; false when the store failed.
bool linkedNames(AliasStore& store, const std::string& nameKey, std::size_t limit,
                 std::vector<NameLinkRow>& out, std::string& error);

// Reads a POST /names body; "" or the reason for a 400.
std::string parseNameEvents(std::string_view body, std::int64_t nowSeconds,
                            std::vector<NameEvent>& out);

class LinkRoutes {
  public:
    LinkRoutes(AliasStore& store, std::function<std::int64_t()> nowSeconds);
    // nullopt when the request is for another route.
    std::optional<HttpResponse> handle(const HttpRequest& request);

    static constexpr std::size_t kMaxLinks = 200;

  private:
    HttpResponse record(const std::string& body);
    HttpResponse links(const std::string& name);

    AliasStore& store_;
    std::function<std::int64_t()> now_;
};

} // namespace hh::aliasdb
