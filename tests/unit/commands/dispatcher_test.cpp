// The command reader and dispatcher: the answers it routes to with the flags
// of their result calls, and the dump road.
#include "InterpreterRig.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

TEST(Dispatcher, EveryAnswerIsOneResultCallWithItsFlags) {
    const std::string noCommand = "Error! Unrecognized command Or no command supplied.";
    const struct {
        std::string line, sound, message; // message: its start
        bool rearm = true;
        int seconds = 15; // -1: no expiry
        bool clip = false, log = true;
    } cases[] = {
        {"x", "close.wav", "ERROR! NAME TOO SHORT."},
        {"  HeartBeat  ", "beat.wav", "Handlehound is ACTIVE. Waiting for Command. . ."},
        {"clear", "default.wav", "", true, -1, false, false},
        {"disable", "cmd.wav", "Handlehound is DISABLED. {Press Ctrl+'tab' to", false, -1},
        // The virtual clock starts at 14:00:00 UTC.
        {"time", "default.wav", "2:00:00 PM", true, 15, true},
        {"frobnicate now", "close.wav", "Error! Unkown Command 'frobnicate'."},
        {"guid 123456789", "close.wav", "Error! Invalid argument - GUID#."},
        {"save", "close.wav", "Error! Missing argument - Text"},
        {"-1", "close.wav", noCommand},
        {"<command/name>", "close.wav", noCommand}, // the placeholder in the help text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        InterpreterRig rig;
        rig.run(c.line);
        EXPECT_TRUE(rig.message().starts_with(c.message)) << rig.message();
        EXPECT_EQ(rig.script(), renderResultScript(rig.message()));
        EXPECT_EQ(rig.sounds(), std::vector<std::string>{c.sound});
        EXPECT_EQ(rig.modifiedCheck->isEnabled(), c.rearm);
        EXPECT_EQ(rig.clearClip->isEnabled() ? rig.clearClip->interval() / 1000 : -1, c.seconds);
        EXPECT_EQ(rig.fp.clipboard.text(), c.clip ? c.message : "");
        EXPECT_EQ(rig.view.console.find("\r\n> ") != std::string::npos, c.log);
    }
}

TEST(Dispatcher, QuitAndDisableGoToTheProgram) {
    for (const auto& [line, call] : {std::pair{"quit", "quitProgram"}, {"disable", "disableHH"}}) {
        InterpreterRig rig;
        rig.run(line);
        EXPECT_EQ(rig.program.calls, std::vector<std::string>{call});
    }
}

TEST(DumpRoad, RunsTheLastCommandAsWrittenOrSaysThereIsNone) {
    InterpreterRig rig;
    rig.runFromDump({"]/hh time", "]/hh copy a  B"});
    EXPECT_EQ(rig.fp.clipboard.text(), "a  B");
    // Not lower-cased: a capitalised word is a player's name.
    rig.runFromDump({"]/hh Help"});
    EXPECT_TRUE(rig.message().starts_with("Error!  No PlayerList info found in")) << rig.message();
    rig.runFromDump({"just chatting"});
    EXPECT_TRUE(rig.message().starts_with("Error! No Handlehound command was found in '" + kDump))
        << rig.message();
}

TEST(DumpRoad, AnEmptyCommandKeepsTheProgramListening) {
    for (const bool monitoring : {true, false}) {
        InterpreterRig rig;
        rig.state.monitoringOn = monitoring;
        rig.writer.writeResultScript("Updating Player List Info. . .");
        rig.runFromDump({"]/hh "});
        EXPECT_TRUE(rig.sounds().empty()) << "no result call";
        EXPECT_EQ(rig.modifiedCheck->isEnabled(), monitoring);
        EXPECT_EQ(rig.script(), renderResultScript(""));
    }
}

TEST(DumpRoad, WordsThatLookLikeInternalTokensStillGetAnAnswer) {
    for (const std::string word : {"pullfromfile", "Exit_Function"}) {
        InterpreterRig rig;
        rig.runFromDump({"]/hh " + word});
        EXPECT_EQ(rig.lastSound(), "close.wav") << word;
        EXPECT_TRUE(rig.modifiedCheck->isEnabled()) << word;
    }
}

} // namespace
} // namespace hh::test
