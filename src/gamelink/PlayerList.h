#pragma once
// PunkBuster player list lines in the console dump.
#include "gamelink/Sightings.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hh {

struct PlayerSearchResult {
    std::string answer;    // GUID (8 chars, lower case), "", "needPList" or "empty"
    std::string foundName; // player's name, for a search by slot that found one
    bool found = false;    // a player line matched (even when the answer is "needPList")
};

PlayerSearchResult findPlayerInText(std::string_view dump, std::string_view key, bool byPbId);

// Reads the dump (created empty when missing). In a search by slot that finds
// a player, sets `searchName` to the player's name.
std::string findPlayerInDump(const std::filesystem::path& dumpPath, const std::string& key,
                             bool searchByPbId, std::string& searchName);

// The players of the last listing in a dump (the player lines after its
// last header), each GUID once, in listing order. `problem` is "empty" for
// an empty dump and "needPList" for one without a listing, as the lookups
// answer.
struct PlayerListing {
    std::string problem;
    std::vector<SightedPlayer> players;
};
PlayerListing currentPlayersIn(std::string_view dump);

} // namespace hh
