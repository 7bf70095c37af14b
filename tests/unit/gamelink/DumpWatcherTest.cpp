#include "GameLinkRig.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

constexpr const char* kUpdating =
    "echo ^3Updating ^3Player ^3List ^3Info. ^3. ^3. ^3Searching ^3for ^3new ^3Command. ^3. "
    "^3.\r\n";

class DumpWatcherTest : public testing::Test {
  protected:
    // What enabling the program does: a result call that arms the watcher.
    void enable() { rig.result.readyForNextCmd("none", "", true, -1, false, false, false); }
    void dump(const std::string& line) { rig.folder.writeDump({line}); }
    std::size_t pickups() const { return rig.processed.size(); }

    test::GameLinkRig rig;
};

TEST_F(DumpWatcherTest, ANewDumpTimeHandsTheCommandOver) {
    enable();
    dump("]/hh time");
    rig.fp.clock.advance(1000);
    ASSERT_EQ(rig.processed, std::vector<std::string>{"pullFromFile"});
    EXPECT_EQ(rig.script(), kUpdating);
    EXPECT_EQ(rig.state.gLastModified, modifiedTimeText(rig.folder.dump()));
    EXPECT_FALSE(rig.modifiedCheck->isEnabled());
    EXPECT_FALSE(rig.clearClip->isEnabled());
    EXPECT_EQ(rig.fp.events.pumps, 1);
    rig.fp.clock.advance(5000); // off until the command's result call
    EXPECT_EQ(pickups(), 1u);
}

TEST_F(DumpWatcherTest, WhatCountsAsAChange) {
    struct Case {
        const char* name;
        int secondsMoved;      // dump time relative to the remembered one
        bool forgetRemembered; // gLastModified empty
        bool removeDump;
        std::size_t pickups;
    };
    const Case cases[] = {
        {"same second", 0, false, false, 0}, {"later", 5, false, false, 1},
        {"earlier", -3600, false, false, 1}, {"nothing remembered", 0, true, false, 1},
        {"no dump", 5, true, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rig.processed.clear();
        test::writeFile(rig.folder.dump(), "]/hh time\n");
        rig.state.gLastModified = modifiedTimeText(rig.folder.dump());
        test::setModifiedTime(rig.folder.dump(), c.secondsMoved);
        if (c.secondsMoved == 0) // keep the very second remembered above
            rig.state.gLastModified = modifiedTimeText(rig.folder.dump());
        if (c.forgetRemembered)
            rig.state.gLastModified.clear();
        if (c.removeDump)
            std::filesystem::remove(rig.folder.dump());
        enable();
        rig.fp.clock.advance(3000);
        EXPECT_EQ(pickups(), c.pickups);
        EXPECT_EQ(rig.modifiedCheck->isEnabled(), c.pickups == 0);
    }
}

TEST_F(DumpWatcherTest, ChangeNoticeTicksAtOnceButOnlyWhileArmed) {
    EXPECT_EQ(rig.fp.fileWatcher.watched, rig.folder.dump().string());
    dump("]/hh time");
    rig.fp.fileWatcher.notify(); // watcher still off
    EXPECT_EQ(pickups(), 0u);
    enable();
    rig.fp.fileWatcher.notify();
    EXPECT_EQ(pickups(), 1u);
    EXPECT_EQ(rig.fp.clock.elapsedMs(), 0);
}

TEST_F(DumpWatcherTest, NoticeDuringThePickupStartsNoSecondOne) {
    enable();
    dump("]/hh time");
    rig.fp.events.postToUiThread([this] { rig.fp.fileWatcher.notify(); });
    rig.fp.clock.advance(1000);
    EXPECT_EQ(pickups(), 1u);
}

TEST_F(DumpWatcherTest, ResultCallReArmsForTheNextCommand) {
    rig.onProcess = [this] { rig.answer("The time is now"); };
    enable();
    dump("]/hh time");
    rig.fp.clock.advance(1000);
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    rig.fp.clock.advance(3000); // same dump: nothing new
    EXPECT_EQ(pickups(), 1u);
    dump("]/hh time"); // the player asks again: same text, new time
    rig.fp.clock.advance(1000);
    EXPECT_EQ(pickups(), 2u);
}

TEST_F(DumpWatcherTest, DumpWrittenWhileACommandRunsIsSkippedOnlyWithRefresh) {
    for (bool refresh : {true, false}) {
        SCOPED_TRACE(refresh);
        rig.processed.clear();
        rig.onProcess = [this, refresh] {
            if (rig.processed.size() == 1) {
                dump("]/hh time");
                rig.result.readyForNextCmd("none", "x", true, -1, false, false, refresh);
            }
        };
        enable();
        dump("]/hh ping host");
        rig.fp.clock.advance(3000);
        EXPECT_EQ(pickups(), refresh ? 1u : 2u);
    }
}

TEST_F(DumpWatcherTest, KeyObserverFollowsTheWindowInFront) {
    constexpr WindowId kGame = 10, kMain = 20, kOther = 30;
    rig.fp.windows.windows["Quake 3: Arena"] = kGame;
    rig.fp.windows.main = kMain;
    struct Step {
        WindowId foreground;
        int hooks, unhooks;
    };
    const Step steps[] = {
        {kGame, 1, 0},  {kGame, 1, 0},  // installed once, not every tick
        {0, 1, 0},                      // nothing in front for a moment: kept
        {kMain, 1, 0},                  // our own window keeps it
        {kOther, 1, 1}, {kOther, 1, 1}, // another program: removed once
        {0, 1, 1},                      // still removed
        {kMain, 2, 1},
    };
    enable();
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        rig.fp.windows.foreground = steps[i].foreground;
        rig.fp.clock.advance(1000);
        EXPECT_EQ(rig.keyboard.hooks, steps[i].hooks);
        EXPECT_EQ(rig.keyboard.unhooks, steps[i].unhooks);
        EXPECT_EQ(rig.state.keyboardHooked, steps[i].hooks > steps[i].unhooks);
    }
}

TEST_F(DumpWatcherTest, GameWindowIsFoundByTheTitleSetting) {
    rig.settings.write("Main", "GameWindowTitle", "ioquake3");
    rig.fp.windows.windows["Quake 3: Arena"] = 10;
    rig.fp.windows.windows["ioquake3"] = 11;
    rig.fp.windows.foreground = 10;
    enable();
    rig.fp.clock.advance(1000);
    EXPECT_EQ(rig.keyboard.hooks, 0);
    rig.fp.windows.foreground = 11;
    rig.fp.clock.advance(1000);
    EXPECT_EQ(rig.keyboard.hooks, 1);
}

TEST_F(DumpWatcherTest, KeyObserverIsLeftAloneWhileTheWatcherIsOff) {
    rig.fp.windows.windows["Quake 3: Arena"] = 10;
    rig.fp.windows.foreground = 10;
    rig.fp.clock.advance(5000);
    EXPECT_EQ(rig.keyboard.hooks, 0);
}

class ToggleMod : public testing::Test {
  protected:
    test::GameLinkRig rig;
    std::filesystem::path game = rig.folder.game();
};

TEST_F(ToggleMod, RefusesAModFolderThatCannotHoldTheDump) {
    struct Case {
        std::string mod, message;
    };
    const std::string unsupported =
        "' Mod is not Supported. {Supported Mods = osp, q3ut2, arena, threewave}";
    const Case cases[] = {
        {"arena", "The 'arena' Mod is not Installed. {Current Mod = 'osp'}"},
        {"are", "The 'are' Mod is not Installed. {Current Mod = 'osp'}"}, // part of the list
        {"mymod", "The 'mymod" + unsupported},
        {"..", "The '.." + unsupported},
        {"osp/../baseq3", "The 'osp/../baseq3" + unsupported},
    };
    const std::string oldPath = rig.state.gDumpFileAbsPath;
    const std::string oldSetting = rig.settings.path();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mod);
        rig.view.console.clear();
        rig.fp.sound.played.clear();
        rig.watcher.toggleMod(c.mod);
        EXPECT_EQ(rig.state.gLastStatusMsg, c.message);
        EXPECT_EQ(rig.view.console, "\r\n> " + c.message.substr(0, c.message.find(" {")));
        EXPECT_EQ(rig.fp.sound.names(), std::vector<std::string>{"close.wav"});
        EXPECT_EQ(rig.state.gDumpFileAbsPath, oldPath);
        EXPECT_EQ(rig.settings.path(), oldSetting);
        EXPECT_EQ(rig.fp.fileWatcher.watched, oldPath);
        EXPECT_TRUE(rig.modifiedCheck->isEnabled());
        EXPECT_EQ(rig.clearClip->interval(), 15000);
    }
    EXPECT_FALSE(std::filesystem::exists(game.parent_path() / "handleHound.who"));
    EXPECT_FALSE(std::filesystem::exists(game / "baseq3" / "handleHound.who"));
}

TEST_F(ToggleMod, SwitchesEverythingToTheNewMod) {
    rig.settings.write("Main", "DumpFileName", "handleHound.txt");
    std::filesystem::create_directories(game / "q3ut2");
    rig.watcher.toggleMod("q3ut2");

    const auto newDump = game / "q3ut2" / "handleHound.txt";
    EXPECT_TRUE(std::filesystem::exists(newDump));
    EXPECT_EQ(rig.watcher.GetDumpFileAbsPath(), newDump.string());
    EXPECT_EQ(rig.watcher.GetCurrentMod(), "q3ut2");
    EXPECT_EQ(rig.settings.path(), newDump.string());
    EXPECT_EQ(rig.fp.fileWatcher.watched, newDump.string());
    EXPECT_EQ(rig.view.checkedMod, "q3ut2");
    EXPECT_EQ(rig.view.openDumpCaption, "&Open 'q3ut2\\handleHound.txt'");
    EXPECT_EQ(rig.view.modPanel, "q3ut2");
    EXPECT_EQ(rig.view.modTip, "Currently monitoring the \"q3ut2\" mod folder");
    EXPECT_EQ(rig.state.gLastModified, modifiedTimeText(newDump));
    EXPECT_EQ(std::filesystem::current_path(), game / "q3ut2");
    EXPECT_EQ(rig.view.console, "\r\n> Mod has been Set to 'q3ut2'.");
    EXPECT_EQ(rig.fp.sound.names(), std::vector<std::string>{"complete.wav"});
    EXPECT_EQ(rig.script(), "echo ^3Mod ^3has ^3been ^3Set ^3to ^3'q3ut2'.\r\n");
}

TEST_F(ToggleMod, AtWindowCreationSwitchesSilently) {
    rig.watcher.toggleMod("osp", true);
    EXPECT_EQ(rig.view.modPanel, "osp");
    EXPECT_EQ(rig.view.console, "");
    EXPECT_TRUE(rig.fp.sound.played.empty());
    EXPECT_FALSE(rig.modifiedCheck->isEnabled());
}

TEST_F(ToggleMod, DoesNothingWithoutADumpPath) {
    rig.watcher.SetDumpFileAbsPath("");
    rig.watcher.toggleMod("osp");
    EXPECT_EQ(rig.view.modPanel, "");
    EXPECT_EQ(rig.view.console, "");
    EXPECT_EQ(rig.state.gDumpFileAbsPath, "");
}

TEST_F(ToggleMod, SetDumpPathMovesTheFileWatch) {
    const std::string other = (game / "baseq3" / "handleHound.who").string();
    rig.watcher.SetDumpFileAbsPath(other);
    EXPECT_EQ(rig.state.gDumpFileAbsPath, other);
    EXPECT_EQ(rig.fp.fileWatcher.watched, other);
    EXPECT_EQ(rig.watcher.GetCurrentMod(), "baseq3");
}

} // namespace
} // namespace hh
