#include "RecordRoutes.h"

#include "JsonArrayReader.h"
#include "NameGroups.h"
#include "Privacy.h"
#include "SightingBatch.h"
#include "common/Strings.h"
#include "gamelink/NameKey.h"
#include "gamelink/Sightings.h"

#include <algorithm>
#include <map>

namespace hh::aliasdb {

namespace {

struct AskedPlayer {
    std::string guid; // lower case
    std::string name; // may be empty
};

HttpResponse unreadable(const std::string& error) {
    return textResponse(503, "the alias database cannot be read: " + error);
}

// A JSON array of objects with a "guid" and, where `nameAllowed`, a "name".
std::string readGuidArray(std::string_view body, const char* noun, bool nameAllowed,
                          std::vector<AskedPlayer>& out) {
    const ArrayRules rules{noun, RecordRoutes::kMaxPlayers, 4 * kMaxSightingNameBytes};
    return readObjectArray(body, rules, [&](const JsonObject& entry) -> std::string {
        std::string why = nameAllowed ? checkStringFields(entry, {"guid", "name"})
                                      : checkStringFields(entry, {"guid"});
        if (!why.empty())
            return why;
        const JsonField* guid = findField(entry, "guid");
        if (!guid)
            return "guid is required";
        if (!isSightingGuid(*guid->text))
            return "guid must be exactly 8 letters or digits";
        AskedPlayer p{toLower(*guid->text), {}};
        if (const JsonField* name = findField(entry, "name")) {
            if (!isSightingText(*name->text, kMaxSightingNameBytes))
                return "name must be 1 to 64 bytes without control characters";
            p.name = *name->text;
        }
        out.push_back(std::move(p));
        return {};
    });
}

// Each GUID's names, read once per request.
class GuidNames {
  public:
    explicit GuidNames(AliasStore& store) : store_(store) {}
    const std::vector<NameGroup>* of(const std::string& guid, std::string& error) {
        auto it = cache_.find(guid);
        if (it == cache_.end()) {
            std::vector<AliasRow> rows;
            if (!store_.aliasesOf(guid, RecordRoutes::kMaxRowsPerGuid, rows, error))
                return nullptr;
            it = cache_.emplace(guid, groupByName(rows)).first;
        }
        return &it->second;
    }

  private:
    AliasStore& store_;
    std::map<std::string, std::vector<NameGroup>> cache_;
};

std::int64_t lastSeenOf(const std::vector<NameGroup>& groups) {
    std::int64_t last = 0;
    for (const auto& g : groups)
        last = std::max(last, g.lastSeen);
    return last;
}

std::string playerLine(const AskedPlayer& player, const std::vector<NameGroup>& groups) {
    std::string line = "player";
    addField(line, "guid", player.guid);
    addField(line, "aliases", std::to_string(groups.size()));
    if (groups.empty())
        return line + '\n';
    std::int64_t first = groups.front().firstSeen;
    for (const auto& g : groups)
        first = std::min(first, g.firstSeen);
    addField(line, "first_seen", dateOf(first));
    addField(line, "last_seen", dateOf(lastSeenOf(groups)));
    const std::string wearing = nameKey(player.name);
    for (const auto& g : groups)
        if (g.key != wearing) {
            addField(line, "other_name", g.name);
            addField(line, "other_uses", std::to_string(g.uses));
            break;
        }
    return line + '\n';
}

} // namespace

// A stored value never holds a tab or a line break, and one that somehow
// does cannot split the line.
void addField(std::string& line, std::string_view name, std::string_view value) {
    line += '\t';
    line += name;
    line += '=';
    for (char c : value)
        line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
}

RecordRoutes::RecordRoutes(AliasStore& store) : store_(store) {}

std::optional<HttpResponse> RecordRoutes::handle(const HttpRequest& request) {
    const bool post = request.method == "POST";
    if (request.path == "/players")
        return post ? players(request.body) : wrongMethod("POST");
    if (request.path == "/forget")
        return post ? forget(request.body) : wrongMethod("POST");
    if (request.path == "/seen") {
        if (request.method != "GET")
            return wrongMethod("GET");
        const auto name = request.query.find("name");
        return seen(name == request.query.end() ? std::string() : name->second);
    }
    return std::nullopt;
}

HttpResponse RecordRoutes::players(const std::string& body) {
    std::vector<AskedPlayer> asked;
    if (std::string why = readGuidArray(body, "players", true, asked); !why.empty())
        return textResponse(400, why);
    GuidNames names(store_);
    std::string error, reply;
    for (const AskedPlayer& player : asked) {
        const auto* groups = names.of(player.guid, error);
        if (!groups)
            return unreadable(error);
        reply += playerLine(player, *groups);
        const std::string key = nameKey(player.name);
        if (key.empty())
            continue;
        // One more than the candidates: the player's own GUID may be among them.
        std::vector<std::string> wearers;
        if (!store_.guidsUsingName(key, kMaxNamesakeCandidates + 1, wearers, error))
            return unreadable(error);
        for (const std::string& other : wearers) {
            if (other == player.guid)
                continue;
            const auto* theirs = names.of(other, error);
            if (!theirs)
                return unreadable(error);
            if (theirs->empty() || theirs->front().key != key)
                continue;
            std::string line = "namesake";
            addField(line, "guid", player.guid);
            addField(line, "owner", other);
            addField(line, "name", theirs->front().name);
            addField(line, "uses", std::to_string(theirs->front().uses));
            addField(line, "last_seen", dateOf(theirs->front().lastSeen));
            reply += line + '\n';
        }
    }
    return textResponse(200, std::move(reply));
}

HttpResponse RecordRoutes::seen(const std::string& name) {
    const std::string trimmed = trimBlanks(name);
    if (!isSightingText(trimmed, kMaxSightingNameBytes))
        return textResponse(400, "name must be 1 to 64 bytes without control characters");
    const std::string key = nameKey(trimmed);
    if (key.empty())
        return textResponse(400, "name must hold more than colour codes");
    std::vector<std::string> guids;
    std::string error;
    if (!store_.guidsUsingName(key, kMaxSeenGuids, guids, error))
        return unreadable(error);
    GuidNames names(store_);
    struct Found {
        std::string guid;
        const NameGroup* mostUsed;
        std::int64_t lastSeen;
    };
    std::vector<Found> found;
    for (const std::string& guid : guids) {
        const auto* groups = names.of(guid, error);
        if (!groups)
            return unreadable(error);
        if (!groups->empty())
            found.push_back({guid, &groups->front(), lastSeenOf(*groups)});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.lastSeen > b.lastSeen; });
    std::string reply;
    for (const Found& f : found) {
        std::string line = "seen";
        addField(line, "guid", f.guid);
        addField(line, "name", f.mostUsed->name);
        addField(line, "uses", std::to_string(f.mostUsed->uses));
        addField(line, "last_seen", dateOf(f.lastSeen));
        reply += line + '\n';
    }
    return textResponse(200, std::move(reply));
}

HttpResponse RecordRoutes::forget(const std::string& body) {
    std::vector<AskedPlayer> asked;
    if (std::string why = readGuidArray(body, "GUIDs to forget", false, asked); !why.empty())
        return textResponse(400, why);
    std::size_t total = 0;
    for (const AskedPlayer& player : asked) {
        std::size_t removed = 0, links = 0;
        std::string error;
        if (!forgetPlayer(store_, player.guid, removed, links, error))
            return textResponse(503, "forgetting " + player.guid + " failed: " + error);
        total += removed;
    }
    HttpResponse r;
    r.contentType = "application/json";
    r.body = "{\"forgotten\":" + std::to_string(total) + "}\n";
    return r;
}

} // namespace hh::aliasdb
