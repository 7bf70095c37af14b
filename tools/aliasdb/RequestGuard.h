#pragma once
// Who may ask the service anything. Checked on the request head, before a
// body is read or the database is touched:
//   - Host must name this service on loopback (127.0.0.1, localhost or [::1]
//     with its port): a web page's own name that a DNS trick points at
//     127.0.0.1 gets 421;
//   - an Origin, when sent, must be the service's own: a web page in the
//     player's browser gets 403 (browsers send it with every cross-site POST);
//   - the owner's credential, "Authorization: Bearer <secret>", or 401;
//   - a POST carries Content-Type application/json, or 415 (the kinds a page
//     may send without asking are all refused by that).
#include "HttpMessage.h"

#include <optional>
#include <string>
#include <string_view>

namespace hh::aliasdb {

struct GuardRules {
    int port = 0;
    std::string credential; // empty: no credential asked
};

std::optional<HttpResponse> refusalFor(const HttpRequest& head, const GuardRules& rules);

// Compares in a time that depends only on the secret's length.
bool sameSecret(std::string_view given, std::string_view secret);

} // namespace hh::aliasdb
