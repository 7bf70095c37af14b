#include "SettingsRig.h"

#include <gtest/gtest.h>

#include <regex>

namespace hh {
namespace {

using test::kNoteDate;
using test::readFile;
using test::SettingsRig;
using test::writeFile;
namespace fs = std::filesystem;

const std::string kScript = "bind \"tab\" \"vstr part1; vstr w2;\"\r\n"
                            "bind \"f5\" \"exec hh.cfg\"\r\n"
                            "// \"tab\" quoted in a comment changes too\r\n";

std::string delayNote(const std::string& wait) {
    return "//Modified by Handlehound - " + kNoteDate + " - Set Command Issue Delay to: '" + wait +
           "'\r\n";
}

TEST(ChangeCmdIssueDelay, RewritesTheSequenceAndStoresTheWaitName) {
    const struct {
        const char* stored; // CmdIssueDelay before ("" = absent)
        int delay;
        const char* inScript; // wait name in the script afterwards
        const char* storedAfter;
    } cases[] = {
        {"", 3, "w2x4", "w2x4"},  {"", 0, "w1", "w1"},
        {"", -1, "w2x2", "w2x2"}, {"", 4, "w2x2", "w2x2"},
        {"w2", 1, "w2", "w2"},    {"w2x4", 0, "w2", "w1"}, // a stored name the script does not hold
                                                           // replaces nothing
    };
    for (const auto& c : cases) {
        SettingsRig rig;
        writeFile(rig.installed(), kScript);
        if (*c.stored)
            rig.settings.setCmdIssueDelay(c.stored);
        EXPECT_TRUE(rig.script.changeCmdIssueDelay(c.delay));
        const std::string expected = std::regex_replace(kScript, std::regex("vstr w2;"),
                                                        std::string("vstr ") + c.inScript + ";") +
                                     delayNote(waitNameForDelay(c.delay));
        EXPECT_EQ(readFile(rig.installed()), expected) << c.stored << " -> " << c.delay;
        EXPECT_EQ(rig.settings.cmdIssueDelayRaw(), c.storedAfter);
    }
}

TEST(ApplyConsoleLogSetting, TheLogLineFollowsTheSetting) {
    const struct {
        const char* setting; // ConsoleLog ("" = absent)
        std::string before, after;
    } cases[] = {
        {"", "bind x\r\n//set logfile 2\r\necho y\r\n", "bind x\r\nset logfile 2\r\necho y\r\n"},
        {"False", "set logfile 2\nbind x", "//set logfile 2\nbind x"},
        {"True", "bind x", "bind x\r\nset logfile 2\r\n"}, // installed before the line existed
    };
    for (const auto& c : cases) {
        SettingsRig rig;
        writeFile(rig.installed(), c.before);
        if (*c.setting)
            rig.settings.write("Main", "ConsoleLog", c.setting);
        EXPECT_TRUE(rig.script.applyConsoleLogSetting());
        EXPECT_EQ(readFile(rig.installed()), c.after) << c.before;
    }
    SettingsRig missing;
    EXPECT_FALSE(missing.script.applyConsoleLogSetting());
    EXPECT_TRUE(missing.fake.dialogs.messages.empty());
}

TEST(ChangeKeyBinding, RefusesWhatCannotStandInABind) {
    for (const char* bad : {"f6\" \"quit", "a;quit", "", "two words", "x//y"}) {
        SettingsRig rig;
        writeFile(rig.installed(), kScript);
        std::string oldKey = "tab", newKey = bad;
        EXPECT_FALSE(rig.script.changeKeyBinding(oldKey, newKey)) << bad;
        EXPECT_EQ(readFile(rig.installed()), kScript) << bad;
        EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u) << bad;
    }
}

TEST(AddExecLine, AppendsUnlessTheLineIsThereWithALineEnd) {
    const std::string line = "exec handleHound.cfg";
    const struct {
        std::optional<std::string> before; // nullopt: file missing
        std::string after;
    } cases[] = {
        {std::nullopt, "\r\n" + line + "\r\n"},
        {"seta a 1\n", "seta a 1\n\r\n" + line + "\r\n"}, // the game writes LF
        {"x\n" + line + "\n", "x\n" + line + "\n"},
        {"x\r\n" + line, "x\r\n" + line + "\r\n" + line + "\r\n"},
        {"exec handleHound.cfg.old\r\n", "exec handleHound.cfg.old\r\n\r\n" + line + "\r\n"},
    };
    for (const auto& c : cases) {
        SettingsRig rig;
        const fs::path files[] = {rig.game / "osp" / "q3config.cfg",
                                  rig.game / "baseq3" / "q3config.cfg",
                                  rig.game / "baseq3" / "autoexec.cfg"};
        for (const auto& file : files)
            if (c.before)
                writeFile(file, *c.before);
        rig.script.addExecLine("");
        for (const auto& file : files)
            EXPECT_EQ(readFile(file), c.after) << file << " from " << c.before.value_or("-");
    }
}

TEST(AddExecLine, BaseFolderAsModNamedScriptsUnsafeNamesAndAMissingModFolder) {
    SettingsRig rig;
    rig.state.gDumpFileAbsPath = (rig.game / "baseq3" / "handleHound.who").generic_string();
    rig.script.addExecLine("");
    EXPECT_EQ(readFile(rig.game / "baseq3" / "q3config.cfg"), "\r\nexec handleHound.cfg\r\n");

    rig.state.gDumpFileAbsPath = (rig.game / "osp" / "handleHound.who").generic_string();
    fs::remove_all(rig.game / "osp");
    for (const char* name : {"myconfig.cfg", "x.cfg; quit", "x\".cfg"})
        rig.script.addExecLine(name);
    EXPECT_FALSE(fs::exists(rig.game / "osp"));
    EXPECT_EQ(readFile(rig.game / "baseq3" / "autoexec.cfg"),
              "\r\nexec handleHound.cfg\r\n\r\nexec myconfig.cfg\r\n");
}

// A read-only config gets the line and stays read-only; a file far too
// large for a config is left alone.
TEST(AddExecLine, ReadOnlyAndHugeFiles) {
    SettingsRig rig;
    const auto config = rig.game / "osp" / "q3config.cfg";
    writeFile(config, "seta a 1\n");
    fs::permissions(config,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto autoexec = rig.game / "baseq3" / "autoexec.cfg";
    const std::uintmax_t size = (4u << 20) + 1;
    writeFile(autoexec, std::string(size, ';'));
    rig.script.addExecLine("");
    EXPECT_EQ(readFile(config), "seta a 1\n\r\nexec handleHound.cfg\r\n");
    EXPECT_EQ(fs::status(config).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(fs::file_size(autoexec), size);
}

TEST(GameScript, MissingScriptsAreReportedAndNothingStored) {
    SettingsRig rig;
    std::string oldKey = "tab", newKey = "f6";
    EXPECT_FALSE(rig.script.changeCmdIssueDelay(3));
    EXPECT_FALSE(rig.script.changeKeyBinding(oldKey, newKey));
    EXPECT_FALSE(fs::exists(rig.installed()));
    EXPECT_EQ(rig.settings.cmdIssueDelayRaw(), "");
    // Nothing shipped to install: the player is asked to move it by hand.
    EXPECT_FALSE(rig.script.installGameScript());
    EXPECT_EQ(rig.settings.cfgAt(), "RequestManualMove");
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 3u);
    // A failed copy says why, is not recorded and keeps the shipped script.
    rig.shipScript();
    fs::remove_all(rig.game / "baseq3");
    std::string why;
    EXPECT_FALSE(rig.script.installGameScript(&why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(rig.settings.cfgAt(), "RequestManualMove");
    EXPECT_TRUE(fs::exists(rig.fake.paths.program / "handleHound.cfg"));
}

TEST(InstallGameScript, InstallsKeepsABackupAndRestoresItOnTheNextRun) {
    SettingsRig rig;
    rig.shipScript();
    const std::string shipped = readFile(test::shippedScriptSource());
    const auto program = rig.fake.paths.program;
    for (int run = 0; run < 2; ++run) {
        std::string oldKey = "tab", newKey = "f6";
        ASSERT_TRUE(rig.script.installGameScript()) << run;
        EXPECT_EQ(readFile(rig.installed()), shipped); // on the second run: the edit is gone
        EXPECT_EQ(readFile(program / "handleHound.BACKUP"), shipped);
        EXPECT_FALSE(fs::exists(program / "handleHound.cfg"));
        EXPECT_EQ(rig.settings.cfgAt(), rig.installed().generic_string());
        ASSERT_TRUE(rig.script.changeKeyBinding(oldKey, newKey));
    }
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());

    rig.settings.setDumpFileName("handleHound.txt");
    ASSERT_TRUE(rig.script.installGameScript());
    EXPECT_EQ(readFile(rig.installed()),
              std::regex_replace(shipped, std::regex("handleHound\\.who"), "handleHound.txt"));
    EXPECT_EQ(readFile(program / "handleHound.BACKUP"), shipped);
}

} // namespace
} // namespace hh
