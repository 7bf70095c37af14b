#include "NameLinks.h"

#include "JsonArrayReader.h"
#include "RecordRoutes.h"
#include "SightingBatch.h"
#include "common/Strings.h"
#include "gamelink/NameKey.h"
#include "gamelink/Sightings.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace hh::aliasdb {

namespace {

constexpr std::array<std::string_view, 5> kKinds = {"connected", "entered", "renamed",
                                                    "disconnected", "kicked"};
// Renames of the asked name that start a walk, and store reads per request.
constexpr std::size_t kMaxStarts = 50;
constexpr std::size_t kMaxReads = 64;
constexpr std::size_t kMaxSessionEvents = 1000;
constexpr std::size_t kMaxSessionBytes = 64;
constexpr std::size_t kMaxSeqDigits = 18;

// Walks renames back and forth from the asked name, one session at a time.
class Walk {
  public:
    Walk(AliasStore& store, std::string askedKey) : store_(store), asked_(std::move(askedKey)) {}

    // From a rename: the names its player held before it, and after it.
    bool from(const NameEvent& rename) { return follow(rename, false) && follow(rename, true); }

    std::vector<NameLinkRow> newestFirst(std::size_t limit) {
        std::vector<Found> all;
        for (auto& [key, found] : found_)
            all.push_back(found);
        std::sort(all.begin(), all.end(), [](const Found& a, const Found& b) {
            return std::tie(a.row.at, a.seq) > std::tie(b.row.at, b.seq);
        });
        std::vector<NameLinkRow> rows;
        for (std::size_t i = 0; i < all.size() && i < limit; ++i)
            rows.push_back(std::move(all[i].row));
        return rows;
    }

    std::string error;

  private:
    struct Found {
        NameLinkRow row;
        std::int64_t seq = 0;
    };

    // The events of `session` from or to `key`, in order; nullptr once the
    // store failed or the request has read enough.
    const std::vector<NameEvent>* events(const std::string& session, const std::string& key) {
        const auto id = std::make_pair(session, key);
        if (const auto it = cache_.find(id); it != cache_.end())
            return &it->second;
        if (cache_.size() >= kMaxReads)
            return nullptr;
        std::vector<NameEvent> read;
        if (!store_.sessionEventsOfName(session, key, kMaxSessionEvents, read, error))
            return nullptr;
        return &cache_.emplace(id, std::move(read)).first->second;
    }

    void add(const std::string& name, const NameEvent& at) {
        const std::string key = nameKey(name);
        if (key == asked_)
            return;
        Found& f = found_[key];
        if (f.row.name.empty() || std::tie(at.at, at.seq) > std::tie(f.row.at, f.seq))
            f = {{name, at.at, at.server}, at.seq};
    }

    // From the rename `r`, the names its player held before it (going back)
    // or after it. Going back, the holder of the name left at `r` had taken
    // it by the last rename into it; going forward, the name taken at `r` was
    // left by the next event about it only when that is a rename away from
    // it. Any other event about the name in between (a connect, a leave, a
    // rename by someone else) means another player may have held it.
    bool follow(NameEvent r, bool forward) {
        for (;;) {
            const std::string& held = forward ? r.newName : r.name;
            add(held, r);
            const std::string key = nameKey(held);
            const auto* list = events(r.session, key);
            if (!list)
                return error.empty();
            const NameEvent* next = nullptr;
            for (std::size_t i = 0; i < list->size() && !next; ++i) {
                const NameEvent& e = (*list)[forward ? i : list->size() - 1 - i];
                if ((forward ? e.seq > r.seq : e.seq < r.seq) && e.kind != "entered")
                    next = &e;
            }
            if (!next || next->kind != "renamed" ||
                nameKey(forward ? next->name : next->newName) != key)
                return true;
            r = *next;
        }
    }

    AliasStore& store_;
    std::string asked_;
    std::map<std::pair<std::string, std::string>, std::vector<NameEvent>> cache_;
    std::map<std::string, Found> found_;
};

bool readSeq(std::string_view digits, std::int64_t& seq) {
    if (digits.empty() || digits.size() > kMaxSeqDigits)
        return false;
    seq = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        seq = seq * 10 + (c - '0');
    }
    return true;
}

std::string readEvent(const JsonObject& entry, std::int64_t now, NameEvent& e) {
    if (std::string why = checkStringFields(
            entry, {"kind", "name", "new_name", "server", "session", "at", "seq"});
        !why.empty())
        return why;
    const auto field = [&](std::string_view name) -> const std::string* {
        const JsonField* f = findField(entry, name);
        return f ? &*f->text : nullptr;
    };
    const std::string* kind = field("kind");
    if (!kind || std::find(kKinds.begin(), kKinds.end(), *kind) == kKinds.end())
        return "kind must be connected, entered, renamed, disconnected or kicked";
    e.kind = *kind;
    const bool renamed = e.kind == "renamed";
    const std::string *name = field("name"), *newName = field("new_name");
    if (!name || !isSightingText(*name, kMaxSightingNameBytes) || nameKey(*name).empty())
        return "name must be 1 to 64 bytes without control characters, more than colour codes";
    if (renamed != (newName != nullptr))
        return "new_name belongs to a rename, and only to one";
    if (newName && (!isSightingText(*newName, kMaxSightingNameBytes) || nameKey(*newName).empty()))
        return "new_name must be 1 to 64 bytes without control characters, more than colour "
               "codes";
    e.name = *name;
    e.newName = newName ? *newName : std::string();
    const std::string *server = field("server"), *session = field("session");
    if (server && !isSightingText(*server, kMaxSightingNameBytes))
        return "server must be 1 to 64 bytes without control characters";
    e.server = server ? *server : std::string();
    if (!session || !isSightingText(*session, kMaxSessionBytes))
        return "session must be 1 to 64 bytes without control characters";
    e.session = *session;
    const std::string* seq = field("seq");
    if (!seq || !readSeq(*seq, e.seq))
        return "seq must be 1 to 18 digits";
    e.at = now;
    if (const std::string* at = field("at")) {
        const auto when = parseIsoUtc(*at);
        if (!when)
            return "at must be an ISO-8601 UTC time such as 2026-12-05T14:00:00Z";
        if (*when > now + kMaxFutureSeconds)
            return "at lies in the future";
        e.at = *when;
    }
    return {};
}

} // namespace

bool linkedNames(AliasStore& store, const std::string& key, std::size_t limit,
                 std::vector<NameLinkRow>& out, std::string& error) {
    std::vector<NameEvent> starts;
    if (!store.renamesOfName(key, kMaxStarts, starts, error))
        return false;
    Walk walk(store, key);
    for (const NameEvent& rename : starts)
        if (!walk.from(rename)) {
            error = walk.error;
            return false;
        }
    out = walk.newestFirst(limit);
    return true;
}

std::string parseNameEvents(std::string_view body, std::int64_t now, std::vector<NameEvent>& out) {
    const ArrayRules rules{"name events", kMaxBatchEntries, 4 * kMaxSightingNameBytes};
    std::string why = readObjectArray(body, rules, [&](const JsonObject& entry) {
        NameEvent e;
        std::string reason = readEvent(entry, now, e);
        if (reason.empty())
            out.push_back(std::move(e));
        return reason;
    });
    if (!why.empty())
        out.clear();
    return why;
}

LinkRoutes::LinkRoutes(AliasStore& store, std::function<std::int64_t()> nowSeconds)
    : store_(store), now_(std::move(nowSeconds)) {}

std::optional<HttpResponse> LinkRoutes::handle(const HttpRequest& request) {
    if (request.path == "/names")
        return request.method == "POST" ? record(request.body) : wrongMethod("POST");
    if (request.path == "/links") {
        if (request.method != "GET")
            return wrongMethod("GET");
        const auto name = request.query.find("name");
        return links(name == request.query.end() ? std::string() : name->second);
    }
    return std::nullopt;
}

HttpResponse LinkRoutes::record(const std::string& body) {
    std::vector<NameEvent> events;
    if (std::string why = parseNameEvents(body, now_(), events); !why.empty())
        return textResponse(400, why);
    std::string error;
    if (!events.empty() && !store_.recordNameEvents(events, error))
        return textResponse(503, "nothing was stored: " + error);
    HttpResponse r;
    r.contentType = "application/json";
    r.body = "{\"stored\":" + std::to_string(events.size()) + "}\n";
    return r;
}

HttpResponse LinkRoutes::links(const std::string& name) {
    const std::string trimmed = trimBlanks(name);
    const std::string key = nameKey(trimmed);
    if (!isSightingText(trimmed, kMaxSightingNameBytes) || key.empty())
        return textResponse(400, "name must be 1 to 64 bytes without control characters, more "
                                 "than colour codes");
    std::vector<NameLinkRow> rows;
    std::string error;
    if (!linkedNames(store_, key, kMaxLinks, rows, error))
        return textResponse(503, "the alias database cannot be read: " + error);
    std::string reply;
    for (const NameLinkRow& row : rows) {
        std::string line = "link";
        addField(line, "name", row.name);
        addField(line, "at", std::to_string(row.at));
        addField(line, "server", row.server);
        reply += line + '\n';
    }
    return textResponse(200, std::move(reply));
}

} // namespace hh::aliasdb
