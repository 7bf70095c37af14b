#include "GameLinkRig.h"

#include <gtest/gtest.h>

#include <climits>

namespace hh {
namespace {

class ResultCallTest : public testing::Test {
  protected:
    test::GameLinkRig rig;
};

TEST_F(ResultCallTest, WritesMirrorsAndEndsTheCommand) {
    rig.state.searchName = "bob";
    rig.state.searchValue = "1a2b3c4d";
    rig.state.searchByPbId = true;
    rig.state.commandPending = true;
    rig.result.readyForNextCmd("default.wav", "Time is 12:00 {Hint here}", true, 15, true, true,
                               false);

    EXPECT_EQ(rig.script(), "echo ^3Time ^3is ^312:00\r\necho ^3 ^3 ^3^3- ^3{Hint ^3here}\r\n");
    EXPECT_EQ(rig.state.gLastStatusMsg, "Time is 12:00 {Hint here}");
    EXPECT_EQ(rig.fp.clipboard.text(), "Time is 12:00");
    EXPECT_EQ(rig.view.console, "\r\n> Time is 12:00");
    EXPECT_EQ(rig.fp.sound.played,
              std::vector<std::string>{(rig.folder.program() / "Sound" / "default.wav").string()});
    EXPECT_EQ(rig.state.searchName, "");
    EXPECT_EQ(rig.state.searchValue, "");
    EXPECT_FALSE(rig.state.searchByPbId);
    EXPECT_FALSE(rig.state.commandPending);
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    EXPECT_TRUE(rig.clearClip->isEnabled());
    EXPECT_EQ(rig.clearClip->interval(), 15000);
}

TEST_F(ResultCallTest, DisabledNoticeLeavesWatcherOffAndConsoleShort) {
    rig.modifiedCheck->start();
    rig.result.readyForNextCmd(
        "none", "Handlehound is DISABLED. Return to Handlehound to Re-enable Commands.", false, -1,
        true, false, false);
    EXPECT_EQ(rig.view.console, "\r\n> Handlehound is DISABLED.");
    EXPECT_FALSE(rig.modifiedCheck->isEnabled());
    EXPECT_FALSE(rig.clearClip->isEnabled());
    EXPECT_TRUE(rig.fp.sound.played.empty());
    EXPECT_EQ(rig.fp.clipboard.text(), "");
}

TEST_F(ResultCallTest, ConsoleDropsColourCodesAndBreaksLines) {
    rig.result.readyForNextCmd("none", "^1Red^7 x\\nnext\\tend", true, -1, true, false, false);
    EXPECT_EQ(rig.view.console, "\r\n> Red x\r\nnext    end");
}

TEST_F(ResultCallTest, RepeatCopiesTheWholeLastMessageWithoutRewriting) {
    rig.answer("Pong {hint}");
    test::writeFile(rig.folder.resultScript(), "sentinel");
    rig.view.console.clear();
    rig.result.readyForNextCmd("none", "Repeat_Last", true, 15, true, true, false);
    EXPECT_EQ(rig.script(), "sentinel");
    EXPECT_EQ(rig.view.console, "\r\n> Pong {hint}");
    EXPECT_EQ(rig.fp.clipboard.text(), "Pong {hint}");
    EXPECT_EQ(rig.state.gLastStatusMsg, "Pong {hint}");
}

TEST_F(ResultCallTest, StatusBarNamesTheStatusKeyOnlyWhileTheGameRuns) {
    struct Case {
        std::string titleSetting, openWindow, expected;
    };
    const std::string done = "Command Complete. Press 'f7' to view the Results in Quake III Arena.";
    const Case cases[] = {
        {"", "Quake 3: Arena", done},
        {"", "", ""},
        {"ioquake3", "ioquake3", done},
        {"ioquake3", "Quake 3: Arena", ""},
    };
    rig.settings.write("Behavior", "StatusKey", "f7");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.titleSetting + "|" + c.openWindow);
        rig.settings.write("Main", "GameWindowTitle", c.titleSetting);
        rig.fp.windows.windows.clear();
        if (!c.openWindow.empty())
            rig.fp.windows.windows[c.openWindow] = 7;
        rig.view.statusText.clear();
        rig.answer("x");
        EXPECT_EQ(rig.view.statusText, c.expected);
    }
}

TEST_F(ResultCallTest, ExpiryClearsOnlyAnUntouchedClipboard) {
    struct Case {
        const char* name;
        bool userCopies;
        std::string clipboard, script;
    };
    const Case cases[] = {
        {"untouched", false, "", "echo ^3Waiting ^3for ^3Command. ^3. ^3.\r\n"},
        {"user copied", true, "other", "echo ^3answer\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rig.view.statusText.clear();
        rig.result.readyForNextCmd("none", "answer", true, 15, false, true, false);
        if (c.userCopies)
            rig.fp.clipboard.setText("other");
        rig.fp.clock.advance(14999);
        EXPECT_EQ(rig.script(), "echo ^3answer\r\n");
        rig.fp.clock.advance(1);
        EXPECT_EQ(rig.fp.clipboard.text(), c.clipboard);
        EXPECT_EQ(rig.script(), c.script);
        EXPECT_EQ(rig.view.statusText,
                  c.userCopies ? "" : "Handle Hound is Waiting for command. . .");
        EXPECT_FALSE(rig.clearClip->isEnabled());
    }
}

TEST_F(ResultCallTest, EachCallRestartsTheExpiry) {
    rig.result.readyForNextCmd("none", "first", true, 15, false, true, false);
    rig.fp.clock.advance(10000);
    rig.result.readyForNextCmd("none", "second", true, 15, false, true, false);
    rig.fp.clock.advance(14000);
    EXPECT_EQ(rig.fp.clipboard.text(), "second");
    rig.fp.clock.advance(1000);
    EXPECT_EQ(rig.fp.clipboard.text(), "");
}

TEST_F(ResultCallTest, HugeExpiryDoesNotOverflow) {
    rig.result.readyForNextCmd("none", "x", true, INT_MAX, false, false, false);
    EXPECT_TRUE(rig.clearClip->isEnabled());
    EXPECT_GT(rig.clearClip->interval(), 2000000000);
}

TEST_F(ResultCallTest, UnwritableScriptIsReportedAndTheCommandStillEnds) {
    std::filesystem::remove_all(rig.folder.game() / "baseq3");
    rig.state.commandPending = true;
    rig.answer("lost answer");
    EXPECT_EQ(rig.errors.size(), 1u);
    EXPECT_EQ(rig.view.console, "\r\n> lost answer");
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    EXPECT_FALSE(rig.state.commandPending);
}

TEST_F(ResultCallTest, RefreshTakesTheDumpTimeOnlyWhenAsked) {
    const std::string before = rig.state.gLastModified;
    test::setModifiedTime(rig.folder.dump(), 30);
    rig.result.readyForNextCmd("none", "x", true, -1, false, false, false);
    EXPECT_EQ(rig.state.gLastModified, before);
    rig.result.readyForNextCmd("none", "x", true, -1, false, false, true);
    EXPECT_EQ(rig.state.gLastModified, modifiedTimeText(rig.folder.dump()));
    EXPECT_NE(rig.state.gLastModified, before);
}

} // namespace
} // namespace hh
