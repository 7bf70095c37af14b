// Who is left out of the records: GUIDs the settings name and the player's
// own, learned from the game's player list and the player's configured name;
// and which list counts as the current one.
#include "gamelink/OwnGuid.h"
#include "gamelink/PlayerList.h"
#include "gamelink/Sightings.h"

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "support/GameFolder.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

std::string dumpOf(const std::vector<std::pair<std::string, std::string>>& players) {
    std::string dump;
    for (const auto& line : test::GameFolder::playerList(players))
        dump += line + "\n";
    return dump;
}

TEST(CurrentPlayers, OnlyTheLastListingCounts) {
    const std::string older = dumpOf({{"aaaaaaaa", "Gone"}, {"bbbbbbbb", "Stays"}});
    const std::string newer = dumpOf({{"bbbbbbbb", "Stays"}, {"cccccccc", "^1New"}});
    const struct {
        std::string dump, problem, players;
    } cases[] = {
        {older + "chat\n" + newer, "", "bbbbbbbb Stays,cccccccc ^1New,"},
        {"no list here\n", "needPList", ""},
        {"PunkBuster Client: Player List: [Slot #]\n", "", ""},
    };
    for (const auto& c : cases) {
        const PlayerListing listing = currentPlayersIn(c.dump);
        std::string players;
        for (const auto& p : listing.players)
            players += p.guid + " " + p.name + ",";
        EXPECT_EQ(listing.problem, c.problem) << c.dump;
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

    const PlayerListing listing = currentPlayersIn(
        dumpOf({{"aaaaaaaa", "MeMyself"}, {"bbbbbbbb", "Twin"}, {"cccccccc", "twin"}}));
    EXPECT_EQ(ownGuidIn(listing, "^1Me^7myself"), "aaaaaaaa");
    EXPECT_EQ(ownGuidIn(listing, "Twin"), ""); // someone wears the player's name
}

TEST(OwnGuid, LearnedOnceAndNeverRecorded) {
    test::FakePlatform fp;
    Settings settings(fp.temp / "handleHound.ini");
    test::writeFile(fp.temp / "q3config.cfg", "seta name \"^2Me\"\n");
    std::vector<std::string> console;
    OwnGuidLearner learner(settings, [&](const std::string& l) { console.push_back(l); });
    const std::string dump = dumpOf(
        {{"aaaaaaaa", "Me"}, {"bbbbbbbb", "Other"}, {"cccccccc", "Listed"}, {"dddddddd", "Kept"}});
    learner.learnFrom(currentPlayersIn(dump),
                      {(fp.temp / "missing.cfg").string(), (fp.temp / "q3config.cfg").string()});
    EXPECT_EQ(settings.ownGuid(), "aaaaaaaa");
    EXPECT_EQ(console.size(), 1u);
    // Someone later wearing the player's name changes nothing.
    learner.learnFrom(currentPlayersIn(dumpOf({{"bbbbbbbb", "Me"}})),
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
