// Player lookups by name and PunkBuster slot through a real dump's player
// list, and GUID lookups straight to the alias database.
#include "InterpreterRig.h"

#include <gtest/gtest.h>

#include <array>

namespace hh::test {
namespace {

void writePlayers(InterpreterRig& rig) {
    rig.folder.writeDump(
        GameFolder::playerList({{"1A2B3C4D", "SomePlayer"}, {"9f8e7d6c", "Other Guy"}}));
}

TEST(PlayerLookup, MissesAnswerWithTheirErrors) {
    const struct {
        bool players;
        std::string line, message; // message: its start
        std::string console;       // what the lookup adds to the console first
    } cases[] = {
        {true, "nobody", "Error! 'nobody' is not a valid PlayerName or Command.",
         "\r\n>Name:  nobody"},
        {true, "pb 7", "No player found with PunkBuster ID Number '7'.", "\r\n>Punkbuster ID:  7"},
        {false, "pb 1", "Error!  the dump file ('" + kDump + "') is empty.", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        InterpreterRig rig;
        if (c.players)
            writePlayers(rig);
        rig.run(c.line);
        EXPECT_TRUE(rig.message().starts_with(c.message)) << rig.message();
        EXPECT_EQ(rig.sounds(), std::vector<std::string>{"close.wav"});
        EXPECT_TRUE(rig.fp.pages.requests.empty());
        EXPECT_NE(rig.view.console.find(c.console + "\r\n> "), std::string::npos)
            << rig.view.console;
    }
}

TEST(PlayerLookup, HitsAskTheAliasDatabaseAndLeaveTheAnswerToThePage) {
    // A slot search names the player it found.
    for (const auto& [line, shownName, guid] : std::vector<std::array<std::string, 3>>{
             {"someplayer", "someplayer", "1a2b3c4d"}, {"pb 2", "other guy", "9f8e7d6c"}}) {
        SCOPED_TRACE(line);
        InterpreterRig rig;
        writePlayers(rig);
        rig.run(line);
        ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
        EXPECT_TRUE(rig.fp.pages.requests.front().url.ends_with("?guid=" + guid));
        EXPECT_EQ(rig.state.searchName, shownName);
        EXPECT_EQ(rig.script(), renderResultScript("Searching for player: '^7" + shownName +
                                                   "^3' (GUID: ^7" + guid + "^3). . ."));
        EXPECT_NE(rig.view.console.find("\r\n>Name:  " + shownName + "\r\n GUID:  " + guid),
                  std::string::npos);
        EXPECT_TRUE(rig.sounds().empty()) << "no result call before the page arrives";
        EXPECT_FALSE(rig.modifiedCheck->isEnabled());
    }
}

} // namespace
} // namespace hh::test
