#include "gamelink/PlayerList.h"
#include "gamelink/PlayerTable.h"
#include "support/GameFolder.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

using test::GameFolder;

// A dump holding the listing of these players (slots from 1), as pb_plist prints it.
std::string listing(const std::vector<std::pair<std::string, std::string>>& players) {
    std::string text;
    for (const auto& line : GameFolder::playerList(players))
        text += line + "\n";
    return text;
}

TEST(PlayerSearch, Answers) {
    const std::string header = "PunkBuster Client: Player List: [Slot #] [GUID] [Name]\n";
    const struct {
        std::string dump, key;
        bool bySlot;
        std::string answer, foundName;
    } cases[] = {
        {"1  aaaaaaaa(VALID) 1.2.3.4    bob\n", "bob", false, "needPList", ""},
        {listing({{"aaaaaaaa", "bob"}, {"bbbbbbbb", "bobcat"}}), "bob", false, "bbbbbbbb", ""},
        {listing({{"1A2B3C4D", "BoB"}}), "bOb", false, "1a2b3c4d", ""},
        {header + "(valid bob\n1 (VALID\n", "bob", false, "", ""}, // too short for a GUID
        {header + "3  33333333(VALID) 1.2.3.4    Three\n13 13131313(VALID) 1.2.3.4    Thirteen\n",
         "3", true, "33333333", "three"},
        {listing({{"aaaaaaaa", "old"}}) + listing({{"bbbbbbbb", "New One"}}), "1", true, "bbbbbbbb",
         "new one"},
        {listing({{"aaaaaaaa", "bob"}}), "2", true, "", ""},
        {"PunkBuster Client: Player List\r\n2  abcdef12(VALID) 1.2.3.4    Eve\r\n", "2", true,
         "abcdef12", "eve"},
    };
    for (const auto& c : cases) {
        const PlayerSearchResult result = findPlayerInText(c.dump, c.key, c.bySlot);
        EXPECT_EQ(result.answer, c.answer) << c.dump << "|" << c.key;
        EXPECT_EQ(result.foundName, c.foundName) << c.dump << "|" << c.key;
    }
}

// The developer viewer's table: 20 players, the 21st refused.
TEST(PlayerTable, HoldsAtMostItsSize) {
    PlayerTable table;
    for (int i = 0; i <= PlayerTable::kSize; ++i)
        EXPECT_EQ(table.addPlayer(std::to_string(10000000 + i), "name" + std::to_string(i)),
                  i < PlayerTable::kSize);
    EXPECT_EQ(table.numPlayers(), PlayerTable::kSize);
    EXPECT_NE(table.showPlayerTable(1).find("name19"), std::string::npos);
}

} // namespace
} // namespace hh
