#include "gamelink/OwnGuid.h"

#include "common/Strings.h"
#include "gamelink/NameKey.h"
#include "gamelink/PlayerList.h"
#include "platform/Files.h"
#include "settings/Settings.h"

namespace hh {

std::string playerNameInConfig(std::string_view configText) {
    std::string name;
    for (std::size_t start = 0; start < configText.size();) {
        std::size_t end = configText.find('\n', start);
        if (end == std::string_view::npos)
            end = configText.size();
        const std::string line = trimBlanks(configText.substr(start, end - start));
        start = end + 1;
        const auto [command, rest] = splitAtFirstBlank(toLower(line));
        if (command != "seta" && command != "set")
            continue;
        const auto [variable, value] = splitAtFirstBlank(trimBlanks(rest));
        if (variable != "name")
            continue;
        // The value as written, with its case: from the line itself.
        std::string original = trimBlanks(line.substr(line.size() - value.size()));
        if (!original.empty() && original.back() == '\r')
            original.pop_back();
        if (original.size() >= 2 && original.front() == '"' && original.back() == '"')
            original = original.substr(1, original.size() - 2);
        name = original;
    }
    return name;
}

std::string ownGuidIn(const PlayerListing& listing, std::string_view ownName) {
    const std::string key = nameKey(ownName);
    std::string found;
    if (key.empty())
        return found;
    for (const auto& player : listing.players) {
        if (nameKey(player.name) != key)
            continue;
        if (!found.empty())
            return {}; // someone wears the same name: no telling which is the player
        found = player.guid;
    }
    return found;
}

OwnGuidLearner::OwnGuidLearner(Settings& settings,
                               std::function<void(const std::string&)> consoleLine)
    : settings_(settings), consoleLine_(std::move(consoleLine)) {}

void OwnGuidLearner::learnFrom(const PlayerListing& listing,
                               const std::vector<std::string>& configFiles) {
    if (listing.players.empty() || !settings_.ownGuid().empty())
        return;
    for (const auto& file : configFiles) {
        const auto text = readWholeFile(file);
        if (!text)
            continue;
        const std::string name = playerNameInConfig(*text);
        const std::string guid = ownGuidIn(listing, name);
        if (guid.empty())
            return;
        settings_.setOwnGuid(guid);
        if (consoleLine_)
            consoleLine_("Your own GUID is " + guid + " (the player named '" +
                         withoutColourCodes(name) +
                         "' in the game's list); Handlehound never records it. Setting: Main / "
                         "OwnGuid.");
        return;
    }
}

} // namespace hh
