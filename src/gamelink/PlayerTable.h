#pragma once
// Two fixed tables of 20 players (current and previous list), as the
// developer viewer shows and edits them.
#include <array>
#include <cstdint>
#include <string>

namespace hh {

struct PlayerEntry {
    std::array<char, 8> guid{};       // all NUL = cleared
    std::array<char, 64> aliasList{};
};

class PlayerTable {
  public:
    static constexpr int kSize = 20;
    PlayerTable();

    bool addPlayer(const std::string& guid, const std::string& aliasList);
    std::int16_t findPlayerIndex(const std::string& guid) const;
    void setPlayerAliasList(const std::string& guid, const std::string& aliasList);
    void backupAndClearPlayers();
    void clearPlayers();
    void carryOverAliasLists();
    void recountPlayers();
    // Text of the viewer's box for which = 1 (players) or 2 (prevPlayers),
    // one CR LF line per entry; the NUL characters of cleared entries show as
    // '.'. Other values give "" and set `ok` false.
    std::string showPlayerTable(int which, bool* ok = nullptr) const;

    std::int16_t numPlayers() const { return numPlayers_; }
    const std::array<PlayerEntry, kSize>& players() const { return players_; }
    const std::array<PlayerEntry, kSize>& prevPlayers() const { return prevPlayers_; }

  private:
    std::array<PlayerEntry, kSize> players_{};
    std::array<PlayerEntry, kSize> prevPlayers_{};
    std::int16_t numPlayers_ = 0;
};

} // namespace hh
