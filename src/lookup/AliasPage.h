#pragma once
// The alias database page: cut the alias names out of its HTML, colour them
// for the game console, limit them, and split an over-long line.
#include <cstdint>
#include <string>
#include <string_view>

namespace hh {

struct AliasColours {
    std::string name = "^7";      // name colour, already defaulted
    std::string separator = "^2"; // separator colour, already defaulted
};

struct ParsedAliases {
    std::string list;            // "", "error", or the formatted list
    std::int16_t aliasCount = 0; // aliases found on the page (at most 999)
    std::string countPrefix;     // set when the list was formatted
};

// Linear in the page size.
ParsedAliases parseAliasPage(std::string_view html, std::int16_t numAliases,
                             const AliasColours& colours);
// `list` is the raw list, aliases joined by ", ".
std::string formatAliasList(std::string_view list, std::int16_t numAliases, std::int16_t aliasCount,
                            const AliasColours& colours, std::string& countPrefix);
// Cuts a line of 876 characters or more into at most four parts joined by
// the literal "\n\t"; a list that would need a fifth part is cut at the last
// whole alias that fits.
std::string splitLongLine(std::string_view line);
// Names made safe for the game console: characters it would read as
// commands or markup ("&amp;", ";", slashes, parentheses) go or change.
std::string consoleSafeAliases(std::string_view list);
// Whether a table cell reads as a date or as a number (not an alias).
bool readsAsDateOrNumber(std::string_view entry);

} // namespace hh
