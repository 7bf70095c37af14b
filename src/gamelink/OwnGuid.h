#pragma once
// The player's own GUID, so that the player is never recorded in the alias
// database: set by hand (Main / OwnGuid), or learned once from a dump. The
// player's own line in the PunkBuster list is the one whose name is the
// name in the game's q3config.cfg (seta name "..."). Another player wearing
// that name at the time makes the list ambiguous, and nothing is learned
// from it; nothing a stranger types or chats can name the GUID.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hh {

class Settings;
struct PlayerListing;

// The value of the last `seta name "..."` line (or `set name`), or "".
std::string playerNameInConfig(std::string_view configText);
// The GUID of the one player in the listing with this name (colour codes and
// case ignored), or "" when none or several have it.
std::string ownGuidIn(const PlayerListing& listing, std::string_view ownName);

class OwnGuidLearner {
  public:
    OwnGuidLearner(Settings& settings, std::function<void(const std::string&)> consoleLine);
    // When no own GUID is known yet: looks for it in the listing with the
    // name of `configFiles` (the first that can be read), stores it and says so.
    void learnFrom(const PlayerListing& listing, const std::vector<std::string>& configFiles);

  private:
    Settings& settings_;
    std::function<void(const std::string&)> consoleLine_;
};

} // namespace hh
