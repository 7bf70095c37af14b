#pragma once
// PunkBuster player list lines in the console dump.
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

struct PlayerLine {
    std::string slot;
    std::string guid; // 8 characters, lower case
    std::string name; // lower case
};
// Every player line of a dump, in order (for recording sightings).
std::vector<PlayerLine> playerLinesIn(std::string_view dump);

} // namespace hh
