// The command reader and dispatcher: every answer it routes to, with the
// flags of its result call, the repeat rules, and the dump and typed roads.
#include "InterpreterRig.h"

#include "commands/HelpText.h"
#include "common/Version.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

namespace fs = std::filesystem;

const std::string kAboutText =
    "Handlehound - lists all known aliases for any player in a Q3 PunkBuster server (All from "
    "within Q3). Download: https://handlehound.example/download";
const std::string kAuthorText = "Handlehound is designed/written by hhdev under the self "
                                "proclaimed company name 'Kennel Works'. Download: "
                                "https://handlehound.example/download";
const std::string kPasteHint = " {Press Ctrl+V to paste this information into Quake III Arena}";
const std::string kHelpHead = "Handlehound recognizes the following commands: \\n";

// The message as the clipboard gets it: before the first brace, trimmed.
std::string clipPart(const std::string& message) {
    std::string head = message.substr(0, message.find('{'));
    while (!head.empty() && head.back() == ' ')
        head.pop_back();
    return head;
}

struct ReplyCase {
    std::string line;
    std::string sound;
    std::string message;
    bool rearm;
    int seconds; // -1: no expiry
    bool clip;
    bool log;
};

void PrintTo(const ReplyCase& c, std::ostream* out) {
    *out << '"' << c.line << '"';
}

const bool kRearm = true, kClip = true, kLog = true;

class Replies : public testing::TestWithParam<ReplyCase> {};

TEST_P(Replies, EndInOneResultCallWithItsFlags) {
    const ReplyCase& c = GetParam();
    InterpreterRig rig;
    rig.run(c.line);

    EXPECT_EQ(rig.message(), c.message);
    EXPECT_EQ(rig.sounds(), std::vector<std::string>{c.sound});
    EXPECT_EQ(rig.modifiedCheck->isEnabled(), c.rearm);
    EXPECT_EQ(rig.clearClip->isEnabled(), c.seconds > 0);
    if (c.seconds > 0) {
        EXPECT_EQ(rig.clearClip->interval(), c.seconds * 1000);
    }
    EXPECT_EQ(rig.fp.clipboard.text(), c.clip ? clipPart(c.message) : "");
    EXPECT_EQ(rig.view.console.find("\r\n> ") != std::string::npos, c.log) << rig.view.console;
    EXPECT_EQ(rig.script(), InterpreterRig::scriptFor(c.message));
}

const std::string kDump = "osp\\handleHound.who";

INSTANTIATE_TEST_SUITE_P(
    Dispatcher, Replies,
    testing::Values(
        ReplyCase{"x", "close.wav",
                  "ERROR! NAME TOO SHORT. Name string must be at least 2 Characters long.", kRearm,
                  15, false, kLog},
        ReplyCase{"hb", "beat.wav", "Handlehound is ACTIVE. Waiting for Command. . .", kRearm, 15,
                  false, kLog},
        ReplyCase{"  HeartBeat  ", "beat.wav", "Handlehound is ACTIVE. Waiting for Command. . .",
                  kRearm, 15, false, kLog},
        ReplyCase{"clear", "default.wav", "", kRearm, -1, false, false},
        ReplyCase{"disable", "cmd.wav",
                  "Handlehound is DISABLED. {Press Ctrl+'tab' to Re-enable Handlehound at any "
                  "time}",
                  false, -1, false, kLog},
        ReplyCase{"about", "complete.wav", kAboutText + kPasteHint, kRearm, -1, kClip, kLog},
        ReplyCase{"author", "complete.wav", kAuthorText + kPasteHint, kRearm, -1, kClip, kLog},
        ReplyCase{"version", "default.wav",
                  "Handlehound v" + versionText() +
                      " {Check 'https://handlehound.example' periodically for available "
                      "updates} {Press Ctrl+V to paste version info into Quake III Arena}",
                  kRearm, 15, kClip, kLog},
        ReplyCase{"ver", "default.wav",
                  "Handlehound v" + versionText() +
                      " {Check 'https://handlehound.example' periodically for available "
                      "updates} {Press Ctrl+V to paste version info into Quake III Arena}",
                  kRearm, 15, kClip, kLog},
        ReplyCase{"help", "default.wav", kHelpHead + helpText(), kRearm, 15, false, kLog},
        ReplyCase{"commands", "default.wav", kHelpHead + helpText(), kRearm, 15, false, kLog},
        // The virtual clock starts at 14:00:00 UTC.
        ReplyCase{"time", "default.wav", "2:00:00 PM", kRearm, 15, kClip, kLog},
        ReplyCase{"frobnicate now", "close.wav",
                  "Error! Unkown Command 'frobnicate'. {For a list of available commands, use "
                  "'/hh help'.}",
                  kRearm, 15, false, kLog},
        ReplyCase{"pb", "close.wav",
                  "Error! Missing argument - PunkBuster ID Number. {Command Usage: '/hh pb "
                  "<PunkBuster ID Number>'} {Enter '/pb_plist' to verify a given player's "
                  "PunkBuster ID Number}",
                  kRearm, 15, false, kLog},
        ReplyCase{"guid 1234567", "close.wav",
                  "Error! Invalid argument - GUID#. {A Valid GUID# contains exactly 8 "
                  "alpha/numeric characters}",
                  kRearm, 15, false, kLog},
        ReplyCase{"guid 123456789", "close.wav",
                  "Error! Invalid argument - GUID#. {A Valid GUID# contains exactly 8 "
                  "alpha/numeric characters}",
                  kRearm, 15, false, kLog},
        ReplyCase{"save", "close.wav",
                  "Error! Missing argument - Text {Command usage: '/hh save <Text>'}", kRearm, 15,
                  false, kLog},
        ReplyCase{"copy", "close.wav",
                  "Error! Missing argument - Text {Command usage: '/hh copy <Text>'}", kRearm, 15,
                  false, kLog},
        ReplyCase{"mod", "default.wav",
                  "mod = 'osp'. {Supported Mods = osp, q3ut2, arena, threewave}", kRearm, 15, false,
                  kLog},
        ReplyCase{"mod nosuchmod", "close.wav",
                  "The 'nosuchmod' Mod is not Supported. {Supported Mods = osp, q3ut2, arena, "
                  "threewave}",
                  kRearm, 15, false, kLog},
        ReplyCase{"-1", "close.wav",
                  "Error! Unrecognized command Or no command supplied. {Command usage: '/hh "
                  "<command>'} {For a list of available commands, use '/hh help'.} {Press 'tab' "
                  "to update the PlayerList info in '" +
                      kDump + "'}",
                  kRearm, 15, false, kLog}));

TEST(Dispatcher, QuitEndsTheProgramWithoutAnAnswer) {
    InterpreterRig rig;
    rig.run("quit");
    EXPECT_EQ(rig.program.calls, std::vector<std::string>{"quitProgram"});
    EXPECT_TRUE(rig.sounds().empty());
    EXPECT_FALSE(fs::exists(rig.folder.resultScript()));
}

TEST(Dispatcher, DisableSwitchesMonitoringOffBeforeItsAnswer) {
    InterpreterRig rig;
    rig.run("disable");
    EXPECT_EQ(rig.program.calls, std::vector<std::string>{"disableHH"});
}

// ---- Repeats: the same word and argument twice shows the last answer again.

struct RepeatCase {
    std::string first, second;
    bool clearBetween;
    bool repeated;
    int seconds; // expiry of the repeat
};

void PrintTo(const RepeatCase& c, std::ostream* out) {
    *out << '"' << c.first << "\" then \"" << c.second << '"';
}

class Repeats : public testing::TestWithParam<RepeatCase> {};

TEST_P(Repeats, FollowTheRepeatRules) {
    const RepeatCase& c = GetParam();
    InterpreterRig rig;
    rig.run(c.first);
    const std::string firstMessage = rig.message();
    if (c.clearBetween)
        rig.interpreter.clearLastCommand();
    fs::remove(rig.folder.resultScript());
    rig.fp.clipboard.setText("");

    rig.run(c.second);
    if (!c.repeated) {
        EXPECT_TRUE(fs::exists(rig.folder.resultScript())) << "the command ran again";
        return;
    }
    EXPECT_FALSE(fs::exists(rig.folder.resultScript())) << "a repeat writes no script";
    EXPECT_EQ(rig.message(), firstMessage);
    EXPECT_EQ(rig.lastSound(), "default.wav");
    EXPECT_EQ(rig.fp.clipboard.text(), firstMessage) << "the whole message, braces included";
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    EXPECT_EQ(rig.clearClip->isEnabled(), c.seconds > 0);
    if (c.seconds > 0) {
        EXPECT_EQ(rig.clearClip->interval(), c.seconds * 1000);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dispatcher, Repeats,
    testing::Values(RepeatCase{"hb", "hb", false, true, 15},
                    // A word the help text does not know never expires.
                    RepeatCase{"frobnicate x", "frobnicate x", false, true, -1},
                    RepeatCase{"about", "about", false, true, 15},
                    RepeatCase{"time", "time", false, false, 0},
                    // Any part of "time, ping, " runs afresh too.
                    RepeatCase{"ti", "ti", false, false, 0}, RepeatCase{"hb", "hb", true, false, 0},
                    RepeatCase{"hb one", "hb two", false, false, 0}));

// ---- The dump road.

TEST(DumpRoad, RunsTheLastCommandOfTheDump) {
    InterpreterRig rig;
    rig.runFromDump({"]/hh time", "]/hh copy a  b"});
    EXPECT_EQ(rig.fp.clipboard.text(), "a  b");
    EXPECT_EQ(rig.state.gLastCommand, "copy");
    EXPECT_EQ(rig.state.gLastArg, "a  b");
}

TEST(DumpRoad, KeepsTheLetterCaseSoCapitalisedWordsAreNames) {
    InterpreterRig rig;
    rig.runFromDump({"]/hh Help"});
    EXPECT_EQ(rig.message(), "Error!  No PlayerList info found in '" + kDump +
                                 "'.  '{Press tab' to update the PlayerList info in '" + kDump +
                                 "'}");
}

TEST(DumpRoad, ReportsADumpWithoutCommand) {
    InterpreterRig rig;
    rig.runFromDump({"just chatting"});
    EXPECT_EQ(rig.message(), "Error! No Handlehound command was found in '" + kDump +
                                 "'. {Command usage: '/hh <command>'} {For a list of available "
                                 "commands, use '/hh help'.} {Press 'tab' to update the "
                                 "PlayerList info in " +
                                 kDump + "}");
}

TEST(DumpRoad, AnEmptyCommandKeepsTheProgramListening) {
    for (const bool monitoring : {true, false}) {
        InterpreterRig rig;
        rig.state.monitoringOn = monitoring;
        rig.writer.writeResultScript(
            "Updating Player List Info. . . Searching for new Command. . .");
        rig.runFromDump({"]/hh "});
        EXPECT_TRUE(rig.sounds().empty()) << "no result call";
        EXPECT_EQ(rig.modifiedCheck->isEnabled(), monitoring);
        EXPECT_EQ(rig.script(), InterpreterRig::scriptFor(""));
    }
}

TEST(DumpRoad, CommandWordsThatLookLikeInternalTokensStillGetAnAnswer) {
    for (const std::string word : {"pullfromfile", "Exit_Function"}) {
        InterpreterRig rig;
        rig.runFromDump({"]/hh " + word});
        EXPECT_EQ(rig.lastSound(), "close.wav") << word;
        EXPECT_TRUE(rig.modifiedCheck->isEnabled()) << word;
        EXPECT_EQ(rig.state.gLastCommand, word);
    }
}

// ---- The typed road.

TEST(TypedRoad, LowerCasesTheLineSoCapitalisedCommandsWork) {
    InterpreterRig rig;
    rig.interpreter.runTypedCommand("HELP", "");
    EXPECT_EQ(rig.message(), kHelpHead + helpText());
}

TEST(TypedRoad, NothingAfterThePrefixIsAnUnrecognizedCommand) {
    InterpreterRig rig;
    rig.interpreter.runTypedCommand("", "");
    EXPECT_EQ(rig.state.gLastCommand, "-1");
    EXPECT_EQ(rig.message().rfind("Error! Unrecognized command Or no command supplied.", 0), 0u);
}

TEST(TypedRoad, AGuidLookupLeavesItsSearchingNoteUntilThePageArrives) {
    InterpreterRig rig;
    rig.interpreter.runTypedCommand("guid", "1a2b3c4d");
    EXPECT_EQ(rig.script(),
              InterpreterRig::scriptFor("Searching for player with GUID# '^71a2b3c4d^3'. . ."));
    EXPECT_FALSE(rig.modifiedCheck->isEnabled()) << "the page handler re-arms the watcher";
    ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
    EXPECT_TRUE(rig.fp.pages.requests.front().url.ends_with("?guid=1a2b3c4d"));
    EXPECT_EQ(rig.state.searchName, "GUID");
    EXPECT_EQ(rig.state.searchValue, "1a2b3c4d");
    EXPECT_EQ(rig.view.statusText, "Searching for player with GUID# '1a2b3c4d'. . .");
}

TEST(Help, HasTwentyTwoIndentedLinesAndNoClear) {
    const std::string& help = helpText();
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const auto end = help.find("\\n", start);
        lines.push_back(help.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 22u);
    for (const auto& line : lines)
        EXPECT_EQ(line.rfind("\\t", 0), 0u) << line;
    EXPECT_EQ(help.find("clear"), std::string::npos);
}

} // namespace
} // namespace hh::test
