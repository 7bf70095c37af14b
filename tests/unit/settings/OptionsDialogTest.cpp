#include "setup/OptionsDialog.h"
#include "SettingsRig.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

using test::readFile;
using test::SettingsRig;
using test::writeFile;

struct FakeOptionsView : OptionsView {
    void showMainTab() override {}
    std::string numAliasesText() const override { return numAliases; }
    void setNumAliasesText(const std::string& t) override { numAliases = t; }
    bool startMinimized() const override { return startMin; }
    void setStartMinimized(bool c) override { startMin = c; }
    bool startAtLogin() const override { return atLogin; }
    void setStartAtLogin(bool c, bool) override { atLogin = c; }
    std::string nameColorDigit() const override { return nameColor; }
    void setNameColorDigit(const std::string& d) override { nameColor = d; }
    std::string sepColorDigit() const override { return sepColor; }
    void setSepColorDigit(const std::string& d) override { sepColor = d; }
    void fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>&) override {}
    std::string commandKeyText() const override { return commandKey; }
    void setCommandKeyText(const std::string& n) override { commandKey = n; }
    std::string statusKeyText() const override { return statusKey; }
    void setStatusKeyText(const std::string& n) override { statusKey = n; }
    void selectDelayOption(std::optional<int> i) override { delayOption = i; }
    std::string gameWindowTitle() const override { return title; }
    void setGameWindowTitle(const std::string& t) override { title = t; }
    std::string baseFolder() const override { return base; }
    void setBaseFolder(const std::string& f) override { base = f; }
    std::string dumpFileName() const override { return dumpName; }
    void setDumpFileName(const std::string& n) override { dumpName = n; }

    std::string numAliases, nameColor, sepColor, commandKey, statusKey, title, base, dumpName;
    bool startMin = false, atLogin = false;
    std::optional<int> delayOption = -1;
};

struct OptionsRig : SettingsRig {
    OptionsRig() { writeFile(installed(), scriptText); }
    FakeOptionsView view;
    int hotKeyReregistrations = 0, codeRefreshes = 0;
    std::function<void()> reregister = [this] { ++hotKeyReregistrations; };
    std::function<void()> refresh = [this] { ++codeRefreshes; };
    OptionsDialogLogic dialog{view, state, settings, fake.platform, script, reregister, refresh};
    const std::string scriptText = "bind \"tab\" \"vstr part1; vstr w2;\"\r\n"
                                   "bind \"f5\" \"exec hh.cfg\"\r\n"
                                   "seta w2 \"wait 30; condump handleHound.who\"\r\n";
    void gameRunning() { fake.windows.windows[settings.gameWindowTitle()] = 42; }
};

TEST(OptionsDialog, LoadShowsStoredValuesAndTheDelayButtonOfTheWaitName) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {nullptr, 1}, {"w1", 0}, {"w2", 1}, {"w2x2", 2}, {"w2x4", 3}, {"w9", std::nullopt}};
    for (const auto& [stored, index] : cases) {
        OptionsRig rig;
        if (stored)
            rig.settings.setCmdIssueDelay(stored);
        rig.state.numAliases = 77; // the limit in memory, not the file's
        rig.settings.write("Main", "MaxNumAliases", "12");
        rig.settings.setNameColorRaw("^3");
        rig.dialog.load();
        EXPECT_EQ(rig.view.delayOption, index) << (stored ? stored : "(absent)");
        EXPECT_EQ(rig.dialog.delayIndex(), index);
        EXPECT_EQ(rig.view.numAliases + "|" + rig.view.nameColor + "|" + rig.view.statusKey,
                  "77|3|f5");
    }
}

TEST(OptionsDialog, UnchangedValuesTouchNeitherScriptNorKeys) {
    OptionsRig rig;
    rig.settings.setCmdIssueDelay("w2");
    rig.settings.setNameColorRaw("^7");
    rig.gameRunning();
    rig.dialog.load();
    EXPECT_TRUE(rig.dialog.applyOptions());
    EXPECT_EQ(readFile(rig.installed()), rig.scriptText);
    EXPECT_EQ(rig.settings.read("Behavior", "CommandKeyCode"), "");
    EXPECT_EQ(rig.hotKeyReregistrations + rig.codeRefreshes + rig.fake.shell.atLoginChanges, 0);
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());

    // Key changes while the game runs.
    rig.view.statusKey = "F6";
    rig.dialog.applyOptions();
    EXPECT_NE(readFile(rig.installed()).find("bind \"f6\" \"exec hh.cfg\""), std::string::npos);
    EXPECT_EQ(rig.settings.read("Behavior", "StatusKeyCode"), "117");
    EXPECT_EQ(rig.hotKeyReregistrations, 0); // the status key has no hot key
    EXPECT_EQ(rig.codeRefreshes, 1);
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u); // the reminder to re-execute the script
    rig.dialog.applyOptions();                       // nothing changed since: no second reminder
    rig.view.commandKey = "f7";
    rig.dialog.applyOptions();
    EXPECT_EQ(rig.settings.commandKeyCode(), 118);
    EXPECT_EQ(rig.hotKeyReregistrations, 1);
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 2u);
    // The session's autostart entry is the setting itself: a failure to
    // change it is shown and keeps the dialog open.
    rig.fake.shell.atLoginProblem = "Cannot write /x: Permission denied";
    rig.view.atLogin = true;
    EXPECT_FALSE(rig.dialog.applyOptions());
    EXPECT_EQ(rig.fake.dialogs.messages.back(), "Error!  Cannot write /x: Permission denied");

    OptionsRig fresh; // no delay stored yet: the first apply stores it
    fresh.dialog.load();
    fresh.dialog.applyOptions();
    EXPECT_EQ(fresh.settings.cmdIssueDelayRaw(), "w2");
    EXPECT_NE(readFile(fresh.installed()).find("Set Command Issue Delay to: 'w2'"),
              std::string::npos);
    EXPECT_TRUE(fresh.dialog.keysChanged()); // no game window: the reminder waits
}

TEST(OptionsDialog, RefusedValuesAreNotStoredTheRestIs) {
    const struct {
        const char* numAliases;
        const char* nameColor;
        const char* storedLimit; // "" = refused
        const char* storedColor; // "" = refused or empty
    } cases[] = {{"999", "", "999", ""},  {" 25 ", "0", "25", "^0"}, {"0", "7", "", "^7"},
                 {"1000", "7", "", "^7"}, {"2.5", "7", "", "^7"},    {"50", "12", "50", ""}};
    for (const auto& c : cases) {
        OptionsRig rig;
        rig.dialog.load();
        rig.view.numAliases = c.numAliases;
        rig.view.nameColor = c.nameColor;
        rig.view.startMin = true;
        const bool refused = !*c.storedLimit || (*c.nameColor && !*c.storedColor);
        EXPECT_EQ(rig.dialog.applyOptions(), !refused) << c.numAliases << "/" << c.nameColor;
        EXPECT_EQ(rig.fake.dialogs.messages.size(), refused ? 1u : 0u);
        EXPECT_EQ(rig.settings.read("Main", "StartMinHH"), "True");
        EXPECT_EQ(rig.settings.read("Main", "MaxNumAliases"), c.storedLimit);
        EXPECT_EQ(rig.state.numAliases, *c.storedLimit ? std::stoi(c.storedLimit) : 150);
        EXPECT_EQ(rig.state.nameColor, c.storedColor);
    }
}

TEST(OptionsDialog, DumpFileNameChangeMovesScriptAndWatchedPath) {
    OptionsRig rig;
    rig.settings.setCmdIssueDelay("w2");
    rig.dialog.load();
    rig.view.dumpName = "handleHound.txt";
    EXPECT_TRUE(rig.dialog.applyOptions());
    const std::string dumpPath = (rig.game / "osp" / "handleHound.txt").generic_string();
    EXPECT_EQ(rig.settings.path() + rig.state.gDumpFileAbsPath, dumpPath + dumpPath);
    EXPECT_TRUE(std::filesystem::exists(dumpPath));
    EXPECT_NE(readFile(rig.installed()).find("condump handleHound.txt\""), std::string::npos);

    rig.view.dumpName = "../x.txt";
    rig.view.base = "a b";
    EXPECT_FALSE(rig.dialog.applyOptions());
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(rig.settings.dumpFileName(), "handleHound.txt");
    EXPECT_EQ(rig.settings.baseFolder(), "baseq3");
}

} // namespace
} // namespace hh
