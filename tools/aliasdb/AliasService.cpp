#include "AliasService.h"

#include "HtmlPages.h"
#include "common/Strings.h"
#include "gamelink/Sightings.h"

namespace hh::aliasdb {

namespace {

HttpResponse htmlResponse(int status, std::string body) {
    HttpResponse r;
    r.status = status;
    r.body = std::move(body);
    return r;
}

} // namespace

AliasService::AliasService(AliasStore& store, std::function<std::int64_t()> nowSeconds)
    : store_(store), now_(std::move(nowSeconds)) {}

HttpResponse AliasService::handle(const HttpRequest& request) {
    if (auto answer = records_.handle(request))
        return std::move(*answer);
    if (auto answer = links_.handle(request))
        return std::move(*answer);
    const bool get = request.method == "GET";
    if (request.path == "/sightings")
        return request.method == "POST" ? recordSightings(request.body) : wrongMethod("POST");
    if (request.path != "/" && request.path != "/search" && request.path != "/health")
        return textResponse(404, "no such page");
    if (!get)
        return wrongMethod("GET");
    if (request.path == "/health")
        return textResponse(200, "ok");
    const auto param = [&](const char* name) -> const std::string* {
        const auto it = request.query.find(name);
        return it == request.query.end() ? nullptr : &it->second;
    };
    if (request.path == "/search")
        return search(param("q") ? trimBlanks(*param("q")) : std::string());
    if (const std::string* guid = param("guid"))
        return aliasLookup(*guid);
    return htmlResponse(200, searchFormPage());
}

HttpResponse AliasService::aliasLookup(const std::string& guid) {
    if (!isSightingGuid(guid))
        return htmlResponse(400, noDataPage(guid, "A GUID is 8 letters or digits."));
    const std::string key = toLower(guid);
    std::vector<AliasRow> rows;
    std::string error;
    if (!store_.aliasesOf(key, kMaxAliasesShown, rows, error))
        return textResponse(503, "the alias database cannot be read: " + error);
    if (rows.empty())
        return htmlResponse(200, noDataPage(key));
    return htmlResponse(200, aliasPage(key, rows));
}

HttpResponse AliasService::search(const std::string& query) {
    if (query.empty())
        return htmlResponse(200, searchFormPage());
    if (isSightingGuid(query)) {
        HttpResponse r = htmlResponse(302, {});
        r.headers["Location"] = "/?guid=" + toLower(query);
        return r;
    }
    if (!isSightingText(query, kMaxSightingNameBytes))
        return textResponse(400, "search for a GUID or for 1 to 64 bytes of a name without "
                                 "control characters");
    std::vector<NameMatch> matches;
    std::string error;
    if (!store_.searchNames(query, kMaxSearchResults, matches, error))
        return textResponse(503, "the alias database cannot be read: " + error);
    return htmlResponse(200, searchResultsPage(query, matches, kMaxSearchResults));
}

HttpResponse AliasService::recordSightings(const std::string& body) {
    BatchParse batch = parseSightingBatch(body, now_());
    if (!batch.error.empty())
        return textResponse(400, batch.error);
    std::string error;
    if (!batch.sightings.empty() && !store_.record(batch.sightings, error))
        return textResponse(503, "nothing was stored: " + error);
    HttpResponse r;
    r.contentType = "application/json";
    r.body = "{\"stored\":" + std::to_string(batch.sightings.size()) + "}\n";
    return r;
}

} // namespace hh::aliasdb
