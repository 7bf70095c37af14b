// The console log road as the main window wires it: a typed line in the real
// log file is answered at once, lines other players can make are not, a
// command seen by the log and by another road runs once, and a name without
// a PunkBuster list is answered from the name links.
#include "InterpreterRig.h"
#include "common/PathText.h"

#include "gamelink/ConsoleLogRoad.h"
#include "gamelink/NameEvents.h"

#include <gtest/gtest.h>

#include <fstream>

namespace hh::test {
namespace {

struct LogRoadRig : InterpreterRig {
    LogRoadRig() {
        road.followLogBesideDump();
        std::ofstream(log()) << "logfile opened on Sat Dec  5 14:00:00 2026\n";
        say("UnnamedPlayer^7 entered the game");
    }
    std::filesystem::path log() const { return folder.dump().parent_path() / "qconsole.log"; }
    // The game prints a line; the change notice arrives; posted work runs.
    void say(const std::string& line) {
        std::ofstream(log(), std::ios::app) << line << "\n";
        fp.logWatcher.notify();
        while (!fp.events.posted.empty())
            fp.events.processPendingEvents();
    }

    NameEventReporter names{settings, fp.platform, {}, [] { return "http://127.0.0.1:9"; }};
    ConsoleLogRoad road{state, settings, fp.platform, names,
                        [this](const std::string& c) { interpreter.runLoggedCommand(c); }};
};

TEST(LogRoad, FollowsTheLogBesideTheDumpUnlessSwitchedOff) {
    LogRoadRig rig;
    EXPECT_EQ(rig.fp.logWatcher.watched, hh::textOf(rig.log()));
    rig.settings.write("Main", "ConsoleLog", "False");
    rig.road.followLogBesideDump();
    EXPECT_EQ(rig.fp.logWatcher.watched, "");
}

TEST(LogRoad, OnlyTheLinesThePlayerTypedAreCommands) {
    const struct {
        std::string line;
        bool monitoring;
        bool answered;
    } cases[] = {
        {"]/hh copy a  B", true, true},
        {"]\\hh copy a  B", true, true},
        {"Eve^7: ^2/hh copy a  B", true, false},
        {"]/hh copy a  B^7 connected", true, false}, // a player named "]/hh copy a  B"
        {"]/hh copy a  B", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LogRoadRig rig;
        rig.state.monitoringOn = c.monitoring;
        rig.say(c.line);
        EXPECT_EQ(rig.fp.clipboard.text() == "a  B", c.answered);
    }
}

TEST(LogRoad, ACommandSeenByTwoRoadsRunsOnce) {
    LogRoadRig rig;
    // The key observer ran it a moment ago: the log's line is the same Enter.
    rig.state.keyboardCommand = "copy first";
    rig.state.keyboardCommandAt = rig.fp.clock.now();
    rig.say("]/hh copy first");
    EXPECT_TRUE(rig.sounds().empty());

    rig.say("]/hh copy once");
    EXPECT_EQ(rig.fp.clipboard.text(), "once");
    const std::string answer = rig.script();
    rig.fp.clipboard.setText("changed since");
    // The Command key's dump holds the same typed line: not run again, and
    // its progress note gives way to the answer the player has not seen yet.
    rig.writer.writeResultScript("Updating Player List Info. . . Searching for new Command. . .");
    rig.runFromDump({"]/hh copy once"});
    EXPECT_EQ(rig.fp.clipboard.text(), "changed since");
    EXPECT_EQ(rig.script(), answer);
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    // So is a word the program does not know, given with an argument.
    rig.say("]/hh nosuch thing");
    const auto heard = rig.sounds().size();
    rig.runFromDump({"]/hh nosuch thing"});
    EXPECT_EQ(rig.sounds().size(), heard);
    // A player lookup runs again with the dump's fresh player list.
    rig.say("]/hh Charlie");
    rig.refuseNameLinks();
    rig.folder.writeDump({"]/hh Charlie"});
    rig.interpreter.processFile("pullFromFile");
    ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
    EXPECT_TRUE(rig.fp.pages.requests.front().url.ends_with("/links?name=Charlie"));
}

TEST(LogRoad, ANameWithoutPunkBusterListIsAnsweredFromItsLinks) {
    LogRoadRig rig;
    rig.say("]/hh charlie");
    ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
    EXPECT_TRUE(rig.fp.pages.requests.front().url.ends_with("/links?name=charlie"));
    rig.fp.pages.answer(fetched("link\tname=^1Bra^7vo\tat=1796479200\tserver=1.2.3.4:27960\n"
                                "link\tname=Al/pha\tat=1796479140\tserver=\n"
                                "junk line\n"));
    EXPECT_EQ(rig.message(),
              "charlie = ^7^1Bra^7vo^2 [2026-12-05 14:00, 1.2.3.4:27960]^2, ^7Al|pha^2 "
              "[2026-12-05 13:59] {Names from renames seen on your screen, newest first: no "
              "PunkBuster list here}");
    EXPECT_EQ(rig.lastSound(), "default.wav");
}

} // namespace
} // namespace hh::test
