// Player lookups by name and PunkBuster slot through a real dump's player
// list, and GUID lookups straight to the alias database.
#include "InterpreterRig.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

const std::string kDump = "osp\\handleHound.who";
const std::string kUpdate = "{Press 'tab' to update the PlayerList info in '" + kDump + "'}";
const std::string kPbHint = " {Enter '/pb_plist' to verify a given player's PunkBuster ID Number}";

enum class Dump { Empty, Listed, NoHeader };

void writeDump(InterpreterRig& rig, Dump dump) {
    auto lines = GameFolder::playerList({{"1A2B3C4D", "SomePlayer"}, {"9f8e7d6c", "Other Guy"}});
    if (dump == Dump::NoHeader)
        lines.erase(lines.begin());
    if (dump != Dump::Empty)
        rig.folder.writeDump(lines);
}

struct MissCase {
    const char* name;
    Dump dump;
    std::string line, message;
    std::string console; // what the lookup adds to the console first
};

class Misses : public testing::TestWithParam<MissCase> {};

TEST_P(Misses, AnswerWithTheirErrors) {
    const MissCase& c = GetParam();
    InterpreterRig rig;
    writeDump(rig, c.dump);
    rig.run(c.line);
    EXPECT_EQ(rig.message(), c.message);
    EXPECT_EQ(rig.sounds(), std::vector<std::string>{"close.wav"});
    EXPECT_TRUE(rig.fp.pages.requests.empty());
    EXPECT_NE(rig.view.console.find(c.console + "\r\n> "), std::string::npos) << rig.view.console;
}

INSTANTIATE_TEST_SUITE_P(
    PlayerLookup, Misses,
    testing::Values(
        MissCase{"UnknownName", Dump::Listed, "nobody",
                 "Error! 'nobody' is not a valid PlayerName or Command. {You may verify a "
                 "Player's true name with 'pb_plist'.} " +
                     kUpdate +
                     " {For a list of commands and a brief explanation of each, use '/hh help'}",
                 "\r\n>Name:  nobody"},
        MissCase{"UnknownSlot", Dump::Listed, "pb 7",
                 "No player found with PunkBuster ID Number '7'. " + kUpdate + kPbHint,
                 "\r\n>Punkbuster ID:  7"},
        MissCase{"SlotNoNumber", Dump::Listed, "pb abc",
                 "Error! The PunkBuster ID Number argument must be a Number. {Command Usage: "
                 "'/hh pb <PunkBuster ID Number>'}" +
                     kPbHint,
                 "\r\n>Punkbuster ID:  abc"},
        MissCase{"NoListHeader", Dump::NoHeader, "someplayer",
                 "Error!  No PlayerList info found in '" + kDump +
                     "'.  '{Press tab' to update the PlayerList info in '" + kDump + "'}",
                 ""},
        MissCase{"EmptyDump", Dump::Empty, "pb 1",
                 "Error!  the dump file ('" + kDump +
                     "') is empty.  {You can change the current Mod setting with the '/hh mod' "
                     "Command} " +
                     kUpdate,
                 ""},
        MissCase{"HelpPlaceholder", Dump::Listed, "<command/name>",
                 "Error! Unrecognized command Or no command supplied. {Command usage: '/hh "
                 "<command>'} {For a list of available commands, use '/hh help'.} " +
                     kUpdate,
                 ""}),
    [](const auto& info) { return info.param.name; });

struct HitCase {
    const char* name;
    std::string line, shownName, guid;
};

class Hits : public testing::TestWithParam<HitCase> {};

TEST_P(Hits, AskTheAliasDatabaseAndLeaveTheAnswerToThePage) {
    const HitCase& c = GetParam();
    InterpreterRig rig;
    writeDump(rig, Dump::Listed);
    rig.run(c.line);
    ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
    EXPECT_TRUE(rig.fp.pages.requests.front().url.ends_with("?guid=" + c.guid));
    EXPECT_EQ(rig.state.searchName, c.shownName);
    EXPECT_EQ(rig.script(), InterpreterRig::scriptFor("Searching for player: '^7" + c.shownName +
                                                      "^3' (GUID: ^7" + c.guid + "^3). . ."));
    EXPECT_EQ(rig.view.statusText,
              "Searching for player: '" + c.shownName + "' (GUID: " + c.guid + "). . .");
    EXPECT_NE(rig.view.console.find("\r\n>Name:  " + c.shownName + "\r\n GUID:  " + c.guid),
              std::string::npos);
    EXPECT_TRUE(rig.sounds().empty()) << "no result call before the page arrives";
    EXPECT_FALSE(rig.modifiedCheck->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(PlayerLookup, Hits,
                         testing::Values(HitCase{"ByName", "someplayer", "someplayer", "1a2b3c4d"},
                                         // A slot search names the player it found.
                                         HitCase{"BySlot", "pb 2", "other guy", "9f8e7d6c"}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace hh::test
