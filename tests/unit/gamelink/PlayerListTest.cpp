#include "gamelink/PlayerList.h"
#include "fakes/FakePlatform.h"
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

const std::string kHeader = "PunkBuster Client: Player List: [Slot #] [GUID] [Name]\n";

struct SearchCase {
    const char* name;
    std::string dump, key;
    bool bySlot;
    std::string answer, foundName;
};

class PlayerSearch : public testing::TestWithParam<SearchCase> {};

TEST_P(PlayerSearch, Answers) {
    const auto& c = GetParam();
    const PlayerSearchResult result = findPlayerInText(c.dump, c.key, c.bySlot);
    EXPECT_EQ(result.answer, c.answer);
    EXPECT_EQ(result.foundName, c.foundName);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlayerSearch,
    testing::Values(
        SearchCase{"EmptyDump", "", "bob", false, "empty", ""},
        SearchCase{"PlayerLineWithoutHeaderNeedsAList", "1  aaaaaaaa(VALID) 1.2.3.4    bob\n",
                   "bob", false, "needPList", ""},
        SearchCase{"HeaderButNoMatch", listing({{"aaaaaaaa", "alice"}}), "bob", false, "", ""},
        SearchCase{"LaterListingWins",
                   listing({{"aaaaaaaa", "bob"}}) + "chat\n" + listing({{"bbbbbbbb", "bob"}}),
                   "bob", false, "bbbbbbbb", ""},
        SearchCase{"PartOfAnotherNameMatchesTooLastWins",
                   listing({{"aaaaaaaa", "bobby"}, {"bbbbbbbb", "bob"}, {"cccccccc", "bobcat"}}),
                   "bob", false, "cccccccc", ""},
        SearchCase{"NameSearchIgnoresCaseAnswersLowerCase", listing({{"1A2B3C4D", "BoB"}}), "bOb",
                   false, "1a2b3c4d", ""},
        SearchCase{"NameSearchLooksAtEveryColumn", listing({{"1a2b3c4d", "bob"}}), "3c4d", false,
                   "1a2b3c4d", ""},
        SearchCase{"SlotThreeIsNotSlotThirteen",
                   kHeader + "3  33333333(VALID) 1.2.3.4    Three\n" +
                       "13 13131313(VALID) 1.2.3.4    Thirteen\n",
                   "3", true, "33333333", "three"},
        SearchCase{"SlotSearchTakesTheLastListing",
                   listing({{"aaaaaaaa", "old one"}}) + listing({{"bbbbbbbb", "New One"}}), "1",
                   true, "bbbbbbbb", "new one"},
        SearchCase{"SlotNotListed", listing({{"aaaaaaaa", "bob"}}), "2", true, "", ""},
        SearchCase{"CrLfDumpNameHasNoCr",
                   "PunkBuster Client: Player List\r\n"
                   "2  abcdef12(VALID) 1.2.3.4    Eve\r\n",
                   "2", true, "abcdef12", "eve"},
        SearchCase{"ListingBeforeHeaderStillCounts",
                   "4  dddddddd(VALID) 1.2.3.4    dan\n" + kHeader, "dan", false, "dddddddd", ""},
        SearchCase{"ShortMarkedLinesAreNoPlayers", kHeader + "(valid bob\n1 (VALID\n", "bob", false,
                   "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlayerSearchFile, SlotSearchSetsTheNameAndMissingDumpIsEmpty) {
    GameFolder folder;
    std::string name = "unchanged";
    std::filesystem::remove(folder.dump());
    EXPECT_EQ(findPlayerInDump(folder.dump(), "1", true, name), "empty");
    EXPECT_TRUE(std::filesystem::exists(folder.dump()));
    EXPECT_EQ(name, "unchanged");

    folder.writeDump(GameFolder::playerList({{"1a2b3c4d", "Some Player"}}));
    EXPECT_EQ(findPlayerInDump(folder.dump(), "1", true, name), "1a2b3c4d");
    EXPECT_EQ(name, "some player");
    name = "unchanged";
    EXPECT_EQ(findPlayerInDump(folder.dump(), "some", false, name), "1a2b3c4d");
    EXPECT_EQ(name, "unchanged"); // a name search names nobody
}

TEST(PlayerLines, EveryPlayerLineInOrder) {
    const std::string dump = listing({{"AAAAAAAA", "One"}, {"bbbbbbbb", "two"}}) + "(valid x\n" +
                             listing({{"cccccccc", "Three"}});
    const auto lines = playerLinesIn(dump);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].slot, "1");
    EXPECT_EQ(lines[0].guid, "aaaaaaaa");
    EXPECT_EQ(lines[0].name, "one");
    EXPECT_EQ(lines[1].slot, "2");
    EXPECT_EQ(lines[2].guid, "cccccccc");
    EXPECT_EQ(lines[2].name, "three");
}

std::string field(const std::string& text, std::size_t width) {
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

TEST(PlayerTableOps, TwentyFitThenItRefuses) {
    PlayerTable table;
    for (int i = 0; i < PlayerTable::kSize; ++i)
        EXPECT_TRUE(table.addPlayer("guid" + std::to_string(i), ""));
    EXPECT_EQ(table.numPlayers(), 20);
    EXPECT_FALSE(table.addPlayer("extra", "x"));
    EXPECT_EQ(table.findPlayerIndex(field("extra", 8)), -1);
    table.recountPlayers();
    EXPECT_EQ(table.numPlayers(), -1);
    EXPECT_FALSE(table.addPlayer("extra", "x"));
    table.clearPlayers();
    EXPECT_EQ(table.numPlayers(), 0);
    EXPECT_TRUE(table.addPlayer("again", ""));
}

TEST(PlayerTableOps, FieldsAreCutAndPaddedAndFoundExactly) {
    PlayerTable table;
    table.addPlayer("1a2b3c4dEXTRA", std::string(70, 'z'));
    table.addPlayer("ab", "list");
    EXPECT_EQ(table.findPlayerIndex("1a2b3c4d"), 0);
    EXPECT_EQ(table.findPlayerIndex("1A2B3C4D"), -1);
    EXPECT_EQ(table.findPlayerIndex("ab"), -1); // stored padded to 8
    EXPECT_EQ(table.findPlayerIndex("ab      "), 1);
    table.setPlayerAliasList("ab      ", "new");
    EXPECT_EQ(std::string(table.players()[1].aliasList.data(), 64), field("new", 64));
    EXPECT_EQ(std::string(table.players()[0].aliasList.data(), 64), std::string(64, 'z'));
    table.setPlayerAliasList("nobody  ", "x"); // changes nothing
    EXPECT_EQ(std::string(table.players()[1].aliasList.data(), 64), field("new", 64));
}

TEST(PlayerTableOps, RebuildCarriesAliasListsOver) {
    PlayerTable table;
    table.addPlayer("aaaaaaaa", "alpha list");
    table.addPlayer("bbbbbbbb", "beta list");
    table.backupAndClearPlayers();
    EXPECT_EQ(table.numPlayers(), 0);
    EXPECT_EQ(table.findPlayerIndex("aaaaaaaa"), -1);

    table.addPlayer("cccccccc", "");
    table.addPlayer("bbbbbbbb", "");
    table.carryOverAliasLists();
    EXPECT_EQ(std::string(table.players()[1].aliasList.data(), 64), field("beta list", 64));
    EXPECT_EQ(std::string(table.players()[0].aliasList.data(), 64), field("", 64));
    EXPECT_EQ(table.numPlayers(), 2);

    table.clearPlayers(); // the previous list stays
    EXPECT_EQ(std::string(table.prevPlayers()[0].guid.data(), 8), "aaaaaaaa");
}

TEST(PlayerTableOps, ShowsEitherTableLineByLine) {
    PlayerTable table;
    table.addPlayer("1a2b3c4d", "bob, robert");
    const std::string shown = table.showPlayerTable(1);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = shown.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(shown.substr(start, end - start));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], "00) GUID: 1a2b3c4d, AliasList: " + field("bob, robert", 64));
    EXPECT_EQ(lines[19], "19) GUID: ........, AliasList: " + std::string(64, '.'));

    bool ok = false;
    EXPECT_EQ(table.showPlayerTable(2, &ok).substr(0, 18), "00) GUID: ........");
    EXPECT_TRUE(ok);
    EXPECT_EQ(table.showPlayerTable(3, &ok), "");
    EXPECT_FALSE(ok);
}

} // namespace
} // namespace hh
