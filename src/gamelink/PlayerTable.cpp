#include "gamelink/PlayerTable.h"

#include "common/Strings.h"

#include <algorithm>
#include <string_view>

namespace hh {
namespace {

// A fixed text field: cut to its length or padded with blanks.
template <std::size_t N> void store(std::array<char, N>& field, const std::string& text) {
    field.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), N), field.begin());
}

template <std::size_t N> std::string_view view(const std::array<char, N>& field) {
    return {field.data(), N};
}

template <std::size_t N> bool holdsNul(const std::array<char, N>& field) {
    return std::find(field.begin(), field.end(), '\0') != field.end();
}

bool isFilled(const PlayerEntry& entry) {
    return !holdsNul(entry.guid);
}

// The viewer shows the NUL characters of a cleared field as '.', so a
// cleared entry is told apart from one filled with blanks.
template <std::size_t N> std::string shown(const std::array<char, N>& field) {
    std::string text(view(field));
    std::replace(text.begin(), text.end(), '\0', '.');
    return text;
}

} // namespace

PlayerTable::PlayerTable() = default;

bool PlayerTable::addPlayer(const std::string& guid, const std::string& aliasList) {
    if (numPlayers_ < 0 || numPlayers_ >= kSize)
        return false;
    PlayerEntry& entry = players_[static_cast<std::size_t>(numPlayers_)];
    store(entry.guid, guid);
    store(entry.aliasList, aliasList);
    ++numPlayers_;
    return true;
}

std::int16_t PlayerTable::findPlayerIndex(const std::string& guid) const {
    for (std::size_t i = 0; i < players_.size(); ++i)
        if (view(players_[i].guid) == guid)
            return static_cast<std::int16_t>(i);
    return -1;
}

void PlayerTable::setPlayerAliasList(const std::string& guid, const std::string& aliasList) {
    const std::int16_t index = findPlayerIndex(guid);
    if (index >= 0)
        store(players_[static_cast<std::size_t>(index)].aliasList, aliasList);
}

void PlayerTable::backupAndClearPlayers() {
    prevPlayers_ = players_;
    clearPlayers();
}

void PlayerTable::clearPlayers() {
    players_.fill(PlayerEntry{});
    numPlayers_ = 0;
}

void PlayerTable::carryOverAliasLists() {
    for (const PlayerEntry& previous : prevPlayers_) {
        const std::string guid(view(previous.guid));
        if (!holdsNul(previous.aliasList) && findPlayerIndex(guid) != -1)
            setPlayerAliasList(guid, std::string(view(previous.aliasList)));
    }
    recountPlayers();
}

void PlayerTable::recountPlayers() {
    const auto firstCleared = std::find_if_not(players_.begin(), players_.end(), isFilled);
    numPlayers_ = firstCleared == players_.end()
                      ? std::int16_t{-1}
                      : static_cast<std::int16_t>(firstCleared - players_.begin());
}

std::string PlayerTable::showPlayerTable(int which, bool* ok) const {
    if (ok)
        *ok = which == 1 || which == 2;
    if (which != 1 && which != 2)
        return {};
    const auto& table = which == 1 ? players_ : prevPlayers_;
    std::string text;
    for (std::size_t i = 0; i < table.size(); ++i) {
        text += concat({i < 10 ? "0" : "", std::to_string(i), ") GUID: ", shown(table[i].guid),
                        ", AliasList: ", shown(table[i].aliasList), "\r\n"});
    }
    return text;
}

} // namespace hh
