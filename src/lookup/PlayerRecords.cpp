#include "lookup/PlayerRecords.h"

#include "common/Strings.h"
#include "platform/Platform.h"

#include <map>

namespace hh {
namespace {

// More lines than 64 players and their namesakes can make means the answer
// is not what we asked for.
constexpr std::size_t kMaxLines = 64 * 24;
constexpr std::size_t kMaxNameBytes = 4 * kMaxSightingNameBytes;
constexpr std::size_t kMaxDigits = 12;
constexpr const char* kUnreadable = "gave an answer Handlehound cannot read";

using Fields = std::map<std::string, std::string, std::less<>>;

bool readNumber(const Fields& fields, std::string_view name, std::int64_t& out) {
    const auto it = fields.find(name);
    if (it == fields.end() || it->second.empty() || it->second.size() > kMaxDigits)
        return false;
    out = 0;
    for (char c : it->second) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

std::string guidField(const Fields& fields, std::string_view name) {
    const auto it = fields.find(name);
    return it != fields.end() && isSightingGuid(it->second) ? toLower(it->second) : std::string();
}

// "YYYY-MM-DD", or "" for anything else.
std::string dateField(const Fields& fields, std::string_view name) {
    const auto it = fields.find(name);
    if (it == fields.end() || it->second.size() != 10)
        return {};
    for (std::size_t i = 0; i < 10; ++i) {
        const char c = it->second[i];
        if (i == 4 || i == 7 ? c != '-' : c < '0' || c > '9')
            return {};
    }
    return it->second;
}

std::string nameField(const Fields& fields, std::string_view name) {
    const auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second.substr(0, kMaxNameBytes);
}

// False when the line is not one of ours.
bool readLine(std::string_view line, RecordsReply& reply) {
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const auto tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    Fields fields;
    for (std::size_t i = 1; i < cells.size(); ++i) {
        const auto eq = cells[i].find('=');
        if (eq == std::string_view::npos)
            return false;
        fields.emplace(cells[i].substr(0, eq), cells[i].substr(eq + 1));
    }
    const std::string_view kind = cells[0];
    if (kind == "player") {
        PlayerRecord p;
        p.guid = guidField(fields, "guid");
        if (p.guid.empty() || !readNumber(fields, "aliases", p.aliases))
            return false;
        p.firstSeen = dateField(fields, "first_seen");
        p.otherName = nameField(fields, "other_name");
        if (!readNumber(fields, "other_uses", p.otherUses))
            p.otherUses = 0;
        reply.players.push_back(std::move(p));
    } else if (kind == "namesake" || kind == "seen") {
        const bool namesake = kind == "namesake";
        const std::string guid = guidField(fields, "guid");
        const std::string owner = namesake ? guidField(fields, "owner") : guid;
        const std::string name = nameField(fields, "name");
        std::int64_t uses = 0;
        if (guid.empty() || owner.empty() || name.empty() || !readNumber(fields, "uses", uses))
            return false;
        if (namesake)
            reply.namesakes.push_back({guid, owner, name, uses, dateField(fields, "last_seen")});
        else
            reply.seen.push_back({guid, name, uses, dateField(fields, "last_seen")});
    }
    // Kinds a later database adds are passed over.
    return !kind.empty() &&
           kind.find_first_not_of("abcdefghijklmnopqrstuvwxyz_") == std::string_view::npos;
}

} // namespace

RecordsReply readRecordsReply(const FetchResult& fetched) {
    RecordsReply reply;
    if (!fetched.ok) {
        reply.unreachable = true;
        reply.error = "could not be reached (" +
                      (fetched.error.empty() ? std::string("no answer") : fetched.error) + ")";
        return reply;
    }
    if (fetched.httpStatus != 200) {
        reply.error = "answered with HTTP " + std::to_string(fetched.httpStatus);
        return reply;
    }
    std::size_t lines = 0;
    for (std::size_t start = 0; start < fetched.body.size();) {
        std::size_t end = fetched.body.find('\n', start);
        if (end == std::string::npos)
            end = fetched.body.size();
        std::string_view line = std::string_view(fetched.body).substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (++lines > kMaxLines || !readLine(line, reply)) {
            reply = RecordsReply{};
            reply.error = kUnreadable;
            return reply;
        }
    }
    return reply;
}

RecordsClient::RecordsClient(Platform& platform, std::function<std::string()> address)
    : platform_(platform), address_(std::move(address)) {}

void RecordsClient::players(const std::vector<SightedPlayer>& players,
                            std::function<void(const RecordsReply&)> done) {
    std::string json = "[";
    for (const auto& p : players)
        json += std::string(json.size() > 1 ? "," : "") + "{\"guid\":" + jsonQuoted(p.guid) +
                ",\"name\":" + jsonQuoted(p.name) + "}";
    json += "]";
    platform_.pages.postJson(
        serviceUrl(address_(), "/players"), json,
        [done = std::move(done), asked = players.size()](const FetchResult& fetched) {
            RecordsReply reply = readRecordsReply(fetched);
            // Every player asked about gets a line; fewer is someone else's answer.
            if (reply.error.empty() && reply.players.size() != asked) {
                reply = RecordsReply{};
                reply.error = kUnreadable;
            }
            done(reply);
        });
}

void RecordsClient::seen(const std::string& name, std::function<void(const RecordsReply&)> done) {
    platform_.pages.get(
        serviceUrl(address_(), "/seen?name=" + percentEncoded(name)),
        [done = std::move(done)](const FetchResult& fetched) { done(readRecordsReply(fetched)); });
}

} // namespace hh
