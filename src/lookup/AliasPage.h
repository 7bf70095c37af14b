#pragma once
// The alias database page: cut the alias names out of its HTML, colour them
// for the game console, limit them, and split an over-long line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hh {

struct AliasColours {
    std::string name = "^7";      // name colour, already defaulted
    std::string separator = "^2"; // separator colour, already defaulted
};

// One alias cell of the page. Our own database also tells how often and
// when the name was last seen, in attributes of the cell's tag.
struct PageAlias {
    std::string cell;       // the cell's text as a browser gives it, trimmed
    std::string text;       // as the list shows it: no carets, name colour after blanks
    std::int64_t uses = -1; // data-uses, -1 when the page has none
    std::string lastSeen;   // data-last ("YYYY-MM-DD"), or ""
};

struct ParsedAliases {
    std::string list;               // "", "error", or the formatted list
    std::int16_t aliasCount = 0;    // aliases found on the page (at most 999)
    std::string countPrefix;        // set when the list was formatted
    std::vector<PageAlias> aliases; // every alias found, in page order
    bool hasCounts = false;         // every alias came with its uses
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
// How many parts splitLongLine would need for the whole line (no cap).
int partsNeeded(std::string_view line);
inline constexpr int kMaxLineParts = 4;
// Whether a table cell reads as a date or as a number (not an alias).
bool readsAsDateOrNumber(std::string_view entry);

} // namespace hh
