#include "RequestGuard.h"

#include "common/Strings.h"

namespace hh::aliasdb {

namespace {

std::string header(const HttpRequest& r, const char* name) {
    const auto it = r.headers.find(name);
    return it == r.headers.end() ? std::string() : it->second;
}

bool isOwnAuthority(const std::string& authority, int port) {
    const std::string suffix = concat({":", std::to_string(port)});
    for (const char* host : {"127.0.0.1", "localhost", "[::1]"})
        if (authority == host + suffix || (port == 80 && authority == host))
            return true;
    return false;
}

} // namespace

bool sameSecret(std::string_view given, std::string_view secret) {
    unsigned difference = given.size() == secret.size() ? 0 : 1;
    for (std::size_t i = 0; i < secret.size(); ++i)
        difference |= static_cast<unsigned char>(secret[i]) ^
                      static_cast<unsigned char>(i < given.size() ? given[i] : 0);
    return difference == 0;
}

std::optional<HttpResponse> refusalFor(const HttpRequest& head, const GuardRules& rules) {
    if (!isOwnAuthority(toLower(header(head, "host")), rules.port))
        return textResponse(421, "this service answers only to 127.0.0.1:" +
                                     std::to_string(rules.port) + " (or localhost, [::1])");
    const std::string origin = toLower(header(head, "origin"));
    if (!origin.empty() &&
        !(startsWith(origin, "http://") && isOwnAuthority(origin.substr(7), rules.port)))
        return textResponse(403, "requests from web pages are refused");
    if (!rules.credential.empty()) {
        const std::string given = header(head, "authorization");
        const bool bearer = given.size() > 7 && toLower(given.substr(0, 7)) == "bearer ";
        if (!bearer || !sameSecret(std::string_view(given).substr(7), rules.credential)) {
            HttpResponse r = textResponse(401, "this service needs its owner's credential");
            r.headers["WWW-Authenticate"] = "Bearer";
            return r;
        }
    }
    if (head.method == "POST") {
        const std::string type = toLower(header(head, "content-type"));
        if (trimBlanks(type.substr(0, type.find(';'))) != "application/json")
            return textResponse(415, "POST wants Content-Type: application/json");
    }
    return std::nullopt;
}

} // namespace hh::aliasdb
