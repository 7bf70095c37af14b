// The players in a dump, and who of them is left out of the records: GUIDs
// the settings name and the player's own, learned from the listing and the
// player's configured name.
#include "gamelink/PlayerList.h"
#include "gamelink/OwnGuid.h"
#include "gamelink/PlayerTable.h"
#include "gamelink/Sightings.h"

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
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

TEST(CurrentPlayers, OnlyTheLastListingCounts) {
    const std::string older = listing({{"aaaaaaaa", "Gone"}, {"bbbbbbbb", "Stays"}});
    const std::string newer = listing({{"bbbbbbbb", "Stays"}, {"cccccccc", "^1New"}});
    const struct {
        std::string dump, problem, players;
    } cases[] = {
        {older + "chat\n" + newer, "", "bbbbbbbb Stays,cccccccc ^1New,"},
        {"no list here\n", "needPList", ""},
        {"PunkBuster Client: Player List: [Slot #]\n", "", ""},
    };
    for (const auto& c : cases) {
        const PlayerListing present = currentPlayersIn(c.dump);
        std::string players;
        for (const auto& p : present.players)
            players += p.guid + " " + p.name + ",";
        EXPECT_EQ(present.problem, c.problem) << c.dump;
        EXPECT_EQ(players, c.players) << c.dump;
    }
}

TEST(OwnGuid, NameFromTheConfigAndOnlyAnUnambiguousMatch) {
    const std::pair<std::string, std::string> configs[] = {
        {"seta name \"^1Me^7Myself\"\r\nseta rate \"25000\"\r\n", "^1Me^7Myself"},
        {"set name Plain\nseta name \"Later\"\n", "Later"},
        {"seta nameColor \"1\"\n", ""},
    };
    for (const auto& [config, name] : configs)
        EXPECT_EQ(playerNameInConfig(config), name) << config;

    const PlayerListing present = currentPlayersIn(
        listing({{"aaaaaaaa", "MeMyself"}, {"bbbbbbbb", "Twin"}, {"cccccccc", "twin"}}));
    EXPECT_EQ(ownGuidIn(present, "^1Me^7myself"), "aaaaaaaa");
    EXPECT_EQ(ownGuidIn(present, "Twin"), ""); // someone wears the player's name
}

TEST(OwnGuid, LearnedOnceAndNeverRecorded) {
    test::FakePlatform fp;
    Settings settings(fp.temp / "handleHound.ini");
    test::writeFile(fp.temp / "q3config.cfg", "seta name \"^2Me\"\n");
    std::vector<std::string> console;
    OwnGuidLearner learner(settings, [&](const std::string& l) { console.push_back(l); });
    const std::string dump = listing(
        {{"aaaaaaaa", "Me"}, {"bbbbbbbb", "Other"}, {"cccccccc", "Listed"}, {"dddddddd", "Kept"}});
    learner.learnFrom(currentPlayersIn(dump),
                      {(fp.temp / "missing.cfg").string(), (fp.temp / "q3config.cfg").string()});
    EXPECT_EQ(settings.ownGuid(), "aaaaaaaa");
    EXPECT_EQ(console.size(), 1u);
    // Someone later wearing the player's name changes nothing.
    learner.learnFrom(currentPlayersIn(listing({{"bbbbbbbb", "Me"}})),
                      {(fp.temp / "q3config.cfg").string()});
    EXPECT_EQ(settings.ownGuid(), "aaaaaaaa");
    EXPECT_EQ(console.size(), 1u);

    settings.write("Main", "NeverRecord", "CCCCCCCC, not-a-guid;bbbbbbbb");
    SightingsReporter reporter(settings, fp.platform, nullptr,
                               [] { return std::string("http://127.0.0.1:27995"); });
    reporter.recordFromDump(dump, "osp");
    ASSERT_EQ(fp.pages.posts.size(), 1u);
    const std::string posted = fp.pages.posts[0].second;
    EXPECT_NE(posted.find("dddddddd"), std::string::npos);
    for (const char* guid : {"aaaaaaaa", "bbbbbbbb", "cccccccc"})
        EXPECT_EQ(posted.find(guid), std::string::npos) << guid;
}

} // namespace
} // namespace hh
