#include "GameLinkRig.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

class DumpWatcherTest : public testing::Test {
  protected:
    // What enabling the program does: a result call that arms the watcher.
    void enable() { rig.result.readyForNextCmd("none", "", true, -1, false, false, false); }
    void dump() { rig.folder.writeDump({"]/hh time"}); }
    std::size_t pickups() const { return rig.processed.size(); }

    test::GameLinkRig rig;
};

TEST_F(DumpWatcherTest, ANewDumpTimeHandsTheCommandOver) {
    enable();
    dump();
    rig.fp.clock.advance(1000);
    ASSERT_EQ(rig.processed, std::vector<std::string>{"pullFromFile"});
    EXPECT_EQ(rig.script(), "echo ^3Updating ^3Player ^3List ^3Info. ^3. ^3. ^3Searching ^3for "
                            "^3new ^3Command. ^3. ^3.\r\n");
    EXPECT_EQ(rig.state.gLastModified, modifiedTimeText(rig.folder.dump()));
    EXPECT_EQ(rig.fp.events.pumps, 1);
    rig.fp.clock.advance(5000); // off until the command's result call
    EXPECT_EQ(pickups(), 1u);
}

TEST_F(DumpWatcherTest, WhatCountsAsAChange) {
    const struct {
        const char* name;
        int secondsMoved; // dump time relative to the remembered one
        bool forget, removeDump;
        std::size_t pickups;
    } cases[] = {
        {"same second", 0, false, false, 0}, {"later", 5, false, false, 1},
        {"earlier", -3600, false, false, 1}, {"nothing remembered", 0, true, false, 1},
        {"no dump", 5, true, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rig.processed.clear();
        rig.state.gLastModified = modifiedTimeText(rig.folder.dump());
        if (c.secondsMoved != 0)
            test::setModifiedTime(rig.folder.dump(), c.secondsMoved);
        if (c.forget)
            rig.state.gLastModified.clear();
        if (c.removeDump)
            std::filesystem::remove(rig.folder.dump());
        enable();
        rig.fp.clock.advance(3000);
        EXPECT_EQ(pickups(), c.pickups);
    }
}

TEST_F(DumpWatcherTest, ChangeNoticeTicksAtOnceButOnlyWhileArmed) {
    EXPECT_EQ(rig.fp.fileWatcher.watched, rig.folder.dump().generic_string());
    dump();
    rig.fp.fileWatcher.notify(); // watcher still off
    EXPECT_EQ(pickups(), 0u);
    enable();
    // A notice that arrives while the pickup lets pending events run must
    // not start a second pickup.
    rig.fp.events.postToUiThread([this] { rig.fp.fileWatcher.notify(); });
    rig.fp.fileWatcher.notify();
    EXPECT_EQ(pickups(), 1u); // the virtual clock never moved
}

TEST_F(DumpWatcherTest, KeyObserverFollowsTheWindowInFront) {
    constexpr WindowId kGame = 10, kMain = 20, kOther = 30;
    rig.settings.write("Main", "GameWindowTitle", "ioquake3");
    rig.fp.windows.windows = {{"ioquake3", kGame}, {"Quake 3: Arena", kOther}};
    rig.fp.windows.main = kMain;
    const struct {
        WindowId foreground;
        int hooks, unhooks;
    } steps[] = {
        {kGame, 1, 0},  {kGame, 1, 0},  // installed once, not every tick
        {0, 1, 0},                      // nothing in front for a moment: kept
        {kMain, 1, 0},                  // our own window keeps it
        {kOther, 1, 1}, {kOther, 1, 1}, // another program: removed once
        {0, 1, 1},      {kMain, 2, 1},
    };
    rig.fp.windows.foreground = kGame;
    rig.fp.clock.advance(5000); // the watcher is off: nothing happens
    EXPECT_EQ(rig.keyboard.hooks, 0);
    enable();
    for (const auto& step : steps) {
        rig.fp.windows.foreground = step.foreground;
        rig.fp.clock.advance(1000);
        EXPECT_EQ(rig.keyboard.hooks, step.hooks) << &step - steps;
        EXPECT_EQ(rig.keyboard.unhooks, step.unhooks) << &step - steps;
        EXPECT_EQ(rig.state.keyboardHooked, step.hooks > step.unhooks);
    }
}

TEST_F(DumpWatcherTest, ToggleModRefusesAFolderThatCannotHoldTheDump) {
    const std::pair<std::string, std::string> cases[] = {
        {"are", "The 'are' Mod is not Installed."}, // part of the list
        {"osp/../baseq3", "The 'osp/../baseq3' Mod is not Supported."},
    };
    const std::string oldPath = rig.state.gDumpFileAbsPath;
    for (const auto& [mod, message] : cases) {
        SCOPED_TRACE(mod);
        rig.watcher.toggleMod(mod);
        EXPECT_TRUE(rig.state.gLastStatusMsg.starts_with(message)) << rig.state.gLastStatusMsg;
        EXPECT_EQ(rig.fp.sound.names().back(), "close.wav");
        EXPECT_EQ(rig.settings.path(), oldPath);
        EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    }
    EXPECT_EQ(rig.state.gDumpFileAbsPath, oldPath);
    EXPECT_FALSE(std::filesystem::exists(rig.folder.game() / "baseq3" / "handleHound.who"));
}

TEST_F(DumpWatcherTest, ToggleModSwitchesEverythingToTheNewMod) {
    const auto game = rig.folder.game();
    rig.settings.write("Main", "DumpFileName", "handleHound.txt");
    std::filesystem::create_directories(game / "q3ut2");
    rig.watcher.toggleMod("q3ut2");
    const auto newDump = game / "q3ut2" / "handleHound.txt";
    EXPECT_TRUE(std::filesystem::exists(newDump));
    EXPECT_EQ(rig.watcher.GetDumpFileAbsPath(), newDump.generic_string());
    EXPECT_EQ(rig.settings.path(), newDump.generic_string());
    EXPECT_EQ(rig.fp.fileWatcher.watched, newDump.generic_string());
    EXPECT_EQ(rig.state.gLastModified, modifiedTimeText(newDump));
    EXPECT_EQ(std::filesystem::current_path(), game / "q3ut2");
}

} // namespace
} // namespace hh
