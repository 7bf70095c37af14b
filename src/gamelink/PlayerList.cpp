#include "gamelink/PlayerList.h"

#include "common/Strings.h"
#include "gamelink/CommandPickup.h"

namespace hh {
namespace {

// Markers as they stand in a lower-cased line.
constexpr std::string_view kPlayerMarker = "(valid";
constexpr std::string_view kListHeader = "punkbuster client: player list";

// Columns of a player line, counted from 0 (the listing's 1-2, 4-11, 31-).
constexpr std::size_t kSlotWidth = 2;
constexpr std::size_t kGuidColumn = 3;
constexpr std::size_t kGuidWidth = 8;
constexpr std::size_t kNameColumn = 30;

// Text at [from, from + count) of a line, or what of it the line holds.
std::string_view columns(std::string_view line, std::size_t from,
                         std::size_t count = std::string_view::npos) {
    return from >= line.size() ? std::string_view() : line.substr(from, count);
}

// A line too short to hold a whole GUID is no player line, whatever it says.
bool isPlayerLine(std::string_view lower) {
    return lower.size() >= kGuidColumn + kGuidWidth && contains(lower, kPlayerMarker);
}

std::string slotOf(std::string_view lower) {
    return trimBlanks(columns(lower, 0, kSlotWidth));
}
std::string guidOf(std::string_view lower) {
    return std::string(columns(lower, kGuidColumn, kGuidWidth));
}
std::string nameOf(std::string_view lower) {
    return std::string(columns(lower, kNameColumn));
}

// Calls `visit` with every line of the dump in lower case and as written
// (LF or CR LF ends cut off). One buffer serves all lines, so a long dump
// costs no allocation per line.
template <typename Visit> void forEachLowerLine(std::string_view dump, Visit visit) {
    std::string lower;
    std::size_t start = 0;
    while (start < dump.size()) {
        std::size_t end = dump.find('\n', start);
        if (end == std::string_view::npos)
            end = dump.size();
        std::string_view line = dump.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lower.assign(line);
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        visit(std::string_view(lower), line);
        start = end + 1;
    }
}

} // namespace

// No yielding to pending events per line: the dump is read whole and the
// scan takes microseconds, so the user interface never waits on it.
PlayerSearchResult findPlayerInText(std::string_view dump, std::string_view key, bool byPbId) {
    PlayerSearchResult result;
    if (dump.empty()) {
        result.answer = "empty";
        return result;
    }
    const std::string lowerKey = toLower(key);
    bool headerSeen = false;
    std::string guid;
    forEachLowerLine(dump, [&](std::string_view line, std::string_view) {
        const bool playerLine = isPlayerLine(line);
        const bool match = playerLine && (byPbId ? slotOf(line) == key : contains(line, lowerKey));
        if (match) {
            guid = guidOf(line);
            if (byPbId)
                result.foundName = nameOf(line);
            result.found = true;
        } else if ((byPbId || !playerLine) && contains(line, kListHeader)) {
            headerSeen = true;
        }
    });
    if (!headerSeen)
        result.answer = "needPList";
    else if (result.found)
        result.answer = guid;
    return result;
}

std::string findPlayerInDump(const std::filesystem::path& dumpPath, const std::string& key,
                             bool searchByPbId, std::string& searchName) {
    const PlayerSearchResult result =
        findPlayerInText(readDumpCreatingIt(dumpPath), key, searchByPbId);
    if (searchByPbId && result.found)
        searchName = result.foundName;
    return result.answer;
}

PlayerListing currentPlayersIn(std::string_view dump) {
    PlayerListing listing;
    if (dump.empty()) {
        listing.problem = "empty";
        return listing;
    }
    bool headerSeen = false;
    forEachLowerLine(dump, [&](std::string_view lower, std::string_view line) {
        if (isPlayerLine(lower)) {
            auto player = sightedPlayerOn(line);
            if (!player)
                return;
            std::erase_if(listing.players,
                          [&](const SightedPlayer& p) { return p.guid == player->guid; });
            listing.players.push_back(std::move(*player));
        } else if (contains(lower, kListHeader)) {
            headerSeen = true;
            listing.players.clear();
        }
    });
    if (!headerSeen)
        listing.problem = "needPList";
    return listing;
}

} // namespace hh
