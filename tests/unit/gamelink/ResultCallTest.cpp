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
    rig.state.searchByPbId = rig.state.commandPending = true;
    rig.result.readyForNextCmd("default.wav", "^1Time^7 is\\n12:00 {Hint here}", true, 15, true,
                               true, false);
    EXPECT_EQ(rig.fp.clipboard.text(), "^1Time^7 is\\n12:00");
    EXPECT_EQ(rig.view.console, "\r\n> Time is\r\n12:00");
    EXPECT_EQ(rig.fp.sound.played,
              std::vector<std::string>{
                  (rig.folder.program() / "Sound" / "default.wav").generic_string()});
    EXPECT_EQ(rig.state.searchName + rig.state.searchValue, "");
    EXPECT_FALSE(rig.state.searchByPbId || rig.state.commandPending);

    rig.result.readyForNextCmd(
        "none", "Handlehound is DISABLED. Return to Handlehound to Re-enable Commands.", false, -1,
        true, false, false);
    EXPECT_EQ(rig.view.console.substr(rig.view.console.rfind('>')), "> Handlehound is DISABLED.");
    EXPECT_FALSE(rig.modifiedCheck->isEnabled() || rig.clearClip->isEnabled());
    EXPECT_EQ(rig.fp.sound.played.size(), 1u);
    rig.result.readyForNextCmd("none", "x", true, 0, false, false, false);
    EXPECT_FALSE(rig.clearClip->isEnabled()); // no expiry asked for

    rig.result.readyForNextCmd("none", "x", true, INT_MAX, false, false, false);
    EXPECT_GT(rig.clearClip->interval(), 2000000000); // no overflow
}

TEST_F(ResultCallTest, ExpiryClearsOnlyAnUntouchedClipboard) {
    for (bool userCopies : {false, true}) {
        SCOPED_TRACE(userCopies);
        rig.result.readyForNextCmd("none", "answer", true, 15, false, true, false);
        if (userCopies)
            rig.fp.clipboard.setText("other");
        rig.fp.clock.advance(14999);
        EXPECT_EQ(rig.script(), "echo ^3answer\r\n");
        rig.fp.clock.advance(1);
        EXPECT_EQ(rig.fp.clipboard.text(), userCopies ? "other" : "");
        EXPECT_EQ(rig.script(),
                  userCopies ? "echo ^3answer\r\n" : "echo ^3Waiting ^3for ^3Command. ^3. ^3.\r\n");
        EXPECT_FALSE(rig.clearClip->isEnabled());
    }
}

TEST_F(ResultCallTest, UnwritableScriptIsReportedAndTheCommandStillEnds) {
    std::filesystem::remove_all(rig.folder.game() / "baseq3");
    rig.result.readyForNextCmd("default.wav", "lost answer", true, 15, true, false, false);
    EXPECT_EQ(rig.errors.size(), 1u);
    EXPECT_EQ(rig.view.console, "\r\n> lost answer");
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
}

TEST_F(ResultCallTest, RefreshTakesTheDumpTimeOnlyWhenAsked) {
    const std::string before = rig.state.gLastModified;
    test::setModifiedTime(rig.folder.dump(), 30);
    rig.result.readyForNextCmd("none", "x", true, -1, false, false, false);
    EXPECT_EQ(rig.state.gLastModified, before);
    rig.result.readyForNextCmd("none", "x", true, -1, false, false, true);
    EXPECT_EQ(rig.state.gLastModified, modifiedTimeText(rig.folder.dump()));
}

} // namespace
} // namespace hh
