#pragma once
// The answer to "/hh <name>" where the server has no PunkBuster list: the
// names that player went by, from the renames this player's console showed
// and the alias database linked (GET /links?name=...).
#include "lookup/AliasPage.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hh {

struct NameLink {
    std::string name; // with its colour codes
    std::chrono::system_clock::time_point at;
    std::string server;
};

// The service's answer: one link a line, "link" and tab-separated
// name=value fields (name, at in seconds since 1970 UTC, server), newest
// first. Other and malformed lines are skipped; at most `maxLinks`.
std::vector<NameLink> parseNameLinks(std::string_view body, std::size_t maxLinks);

// "<searched> = <name> [when, where], ... {hint}": each name in its own
// colours, times in local time.
std::string nameHistoryLine(const std::string& searched, const std::vector<NameLink>& links,
                            const AliasColours& colours);

} // namespace hh
