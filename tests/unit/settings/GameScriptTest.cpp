#include "SettingsRig.h"

#include <gtest/gtest.h>

#include <regex>
#include <sys/stat.h>

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
    struct Case {
        const char* stored; // CmdIssueDelay before ("" = absent)
        int delay;
        const char* inScript; // wait name in the script afterwards
        const char* storedAfter;
    };
    const Case cases[] = {
        {"", 3, "w2x4", "w2x4"},
        {"", 0, "w1", "w1"},
        {"", 7, "w2x2", "w2x2"},
        {"", -1, "w2x2", "w2x2"},
        {"w2", 1, "w2", "w2"},
        // A stored name the script does not hold replaces nothing.
        {"w2x4", 0, "w2", "w1"},
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

TEST(ChangeCmdIssueDelay, NotesAccumulateAndFollowTheTextAsItEnds) {
    SettingsRig rig;
    writeFile(rig.installed(), "bind \"tab\" \"vstr part1; vstr w2;\"");
    rig.script.changeCmdIssueDelay(0);
    rig.script.changeCmdIssueDelay(3);
    EXPECT_EQ(readFile(rig.installed()),
              "bind \"tab\" \"vstr part1; vstr w2x4;\"" + delayNote("w1") + delayNote("w2x4"));
}

TEST(GameScript, MissingScriptIsReportedAndNothingStored) {
    SettingsRig rig;
    std::string oldKey = "tab", newKey = "f6";
    EXPECT_FALSE(rig.script.changeCmdIssueDelay(3));
    EXPECT_FALSE(rig.script.changeKeyBinding(oldKey, newKey));
    EXPECT_EQ(rig.fake.dialogs.messages,
              (std::vector<std::string>{"Error!  handleHound.cfg not found in \\baseq3!",
                                        "Error!  'handleHound.cfg' not found in '\\baseq3'."}));
    EXPECT_FALSE(fs::exists(rig.installed()));
    EXPECT_EQ(rig.settings.cmdIssueDelayRaw(), "");
}

TEST(ChangeKeyBinding, ReplacesEveryQuotedOldNameAndLowersTheCallersNames) {
    SettingsRig rig;
    writeFile(rig.installed(), kScript);
    std::string oldKey = "TAB", newKey = "F6";
    EXPECT_TRUE(rig.script.changeKeyBinding(oldKey, newKey));
    EXPECT_EQ(oldKey, "tab");
    EXPECT_EQ(newKey, "f6");
    EXPECT_EQ(readFile(rig.installed()),
              "bind \"f6\" \"vstr part1; vstr w2;\"\r\nbind \"f5\" \"exec hh.cfg\"\r\n"
              "// \"f6\" quoted in a comment changes too\r\n"
              "//Modified by Handlehound - " +
                  kNoteDate + " - Changed 'tab' to 'f6'\r\n");
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
    struct Case {
        const char* name;
        std::optional<std::string> before; // nullopt: file missing
        std::string after;
    };
    const std::string line = "exec handleHound.cfg";
    const Case cases[] = {
        {"missing file is created", std::nullopt, "\r\n" + line + "\r\n"},
        {"game's LF file", "seta a 1\n", "seta a 1\n\r\n" + line + "\r\n"},
        {"CR LF line present", "x\r\n" + line + "\r\n", "x\r\n" + line + "\r\n"},
        {"LF line present", "x\n" + line + "\n", "x\n" + line + "\n"},
        {"last line without a line end", "x\r\n" + line, "x\r\n" + line + "\r\n" + line + "\r\n"},
        {"another script's line", "exec handleHound.cfg.old\r\n",
         "exec handleHound.cfg.old\r\n\r\n" + line + "\r\n"},
    };
    for (const auto& c : cases) {
        SettingsRig rig;
        for (const auto& file :
             {rig.game / "osp" / "q3config.cfg", rig.game / "baseq3" / "q3config.cfg",
              rig.game / "baseq3" / "autoexec.cfg"})
            if (c.before)
                writeFile(file, *c.before);
        rig.script.addExecLine("");
        EXPECT_EQ(readFile(rig.game / "osp" / "q3config.cfg"), c.after) << c.name;
        EXPECT_EQ(readFile(rig.game / "baseq3" / "q3config.cfg"), c.after) << c.name;
        EXPECT_EQ(readFile(rig.game / "baseq3" / "autoexec.cfg"), c.after) << c.name;
    }
}

TEST(AddExecLine, BaseFolderAsModGetsOneLine) {
    SettingsRig rig;
    rig.state.gDumpFileAbsPath = (rig.game / "baseq3" / "handleHound.who").string();
    rig.script.addExecLine("");
    EXPECT_EQ(readFile(rig.game / "baseq3" / "q3config.cfg"), "\r\nexec handleHound.cfg\r\n");
}

TEST(AddExecLine, ReadOnlyConfigGetsTheLineAndStaysReadOnly) {
    SettingsRig rig;
    const auto config = rig.game / "osp" / "q3config.cfg";
    writeFile(config, "seta a 1\n");
    ::chmod(config.c_str(), 0444);
    rig.script.addExecLine("");
    EXPECT_EQ(readFile(config), "seta a 1\n\r\nexec handleHound.cfg\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(config.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST(AddExecLine, NamedScriptsUnsafeNamesAndAMissingModFolder) {
    SettingsRig rig;
    fs::remove_all(rig.game / "osp");
    rig.script.addExecLine("myconfig.cfg");
    rig.script.addExecLine("x.cfg; quit");
    rig.script.addExecLine("x\".cfg");
    EXPECT_FALSE(fs::exists(rig.game / "osp"));
    EXPECT_EQ(readFile(rig.game / "baseq3" / "autoexec.cfg"), "\r\nexec myconfig.cfg\r\n");
}

TEST(InstallGameScript, NothingToInstallAsksForAManualMove) {
    SettingsRig rig;
    EXPECT_FALSE(rig.script.installGameScript());
    EXPECT_EQ(rig.settings.cfgAt(), "RequestManualMove");
    EXPECT_EQ(rig.fake.dialogs.messages,
              std::vector<std::string>{
                  "Error!  " + rig.fake.paths.program.string() +
                  "  -  Does not contain files handleHound.cfg or handleHound.BACKUP\r\n"
                  "Please move 'handleHound.cfg' into your \\baseq3 folder manually."});
}

TEST(InstallGameScript, InstallsKeepsABackupAndRestoresItOnTheNextRun) {
    SettingsRig rig;
    rig.shipScript();
    const std::string shipped = readFile(test::shippedScriptSource());
    const auto program = rig.fake.paths.program;

    ASSERT_TRUE(rig.script.installGameScript());
    EXPECT_EQ(readFile(rig.installed()), shipped);
    EXPECT_EQ(readFile(program / "handleHound.BACKUP"), shipped);
    EXPECT_FALSE(fs::exists(program / "handleHound.cfg"));
    EXPECT_EQ(rig.settings.cfgAt(), rig.installed().string());

    std::string oldKey = "tab", newKey = "f6";
    ASSERT_TRUE(rig.script.changeKeyBinding(oldKey, newKey));
    ASSERT_TRUE(rig.script.installGameScript());
    EXPECT_EQ(readFile(rig.installed()), shipped); // the edit is gone
    EXPECT_EQ(readFile(program / "handleHound.BACKUP"), shipped);
    EXPECT_FALSE(fs::exists(program / "handleHound.cfg"));
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
}

TEST(InstallGameScript, WritesTheConfiguredDumpFileName) {
    SettingsRig rig;
    rig.shipScript();
    rig.settings.setDumpFileName("handleHound.txt");
    ASSERT_TRUE(rig.script.installGameScript());
    const std::string installed = readFile(rig.installed());
    EXPECT_EQ(installed.find("handleHound.who"), std::string::npos);
    EXPECT_EQ(installed, std::regex_replace(readFile(test::shippedScriptSource()),
                                            std::regex("condump handleHound\\.who"),
                                            "condump handleHound.txt"));
    EXPECT_EQ(readFile(rig.fake.paths.program / "handleHound.BACKUP"),
              readFile(test::shippedScriptSource()));
}

TEST(InstallGameScript, AFailedCopyIsReportedAndNotRecorded) {
    SettingsRig rig;
    rig.shipScript();
    fs::remove_all(rig.game / "baseq3");
    std::string why;
    EXPECT_FALSE(rig.script.installGameScript(&why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(rig.settings.cfgAt(), "");
    EXPECT_TRUE(fs::exists(rig.fake.paths.program / "handleHound.cfg"));
}

// The shipped script as the engine will run it.
TEST(ShippedScript, BindsBothKeysAndDefinesRisingWaits) {
    const std::string text = readFile(test::shippedScriptSource());
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find("bind \"tab\" \"vstr part1; vstr w2;\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("bind \"f5\" \"exec hh.cfg\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("set hh \"\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("seta part1 \"pb_plist\"\r\n"), std::string::npos);

    int previous = 0;
    for (const char* wait : {"w1", "w2", "w2x2", "w2x4"}) {
        std::smatch m;
        const std::regex line(std::string("\r\nseta ") + wait +
                              " \"wait ([0-9]+); condump handleHound\\.who\"\r\n");
        ASSERT_TRUE(std::regex_search(text, m, line)) << wait;
        const int frames = std::stoi(m[1]);
        EXPECT_GT(frames, previous) << wait;
        previous = frames;
    }
    // Every line is a comment or a command the engine knows; a ';' outside
    // quotes would start a command in engines that do not skip comments.
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        const std::string l = text.substr(pos, end - pos);
        pos = end + 2;
        EXPECT_EQ(l.find('\n'), std::string::npos);
        if (l.empty())
            continue;
        EXPECT_TRUE(std::regex_match(l, std::regex("//[^;\"]*|(set|seta|bind|echo) .*"))) << l;
    }
}

} // namespace
} // namespace hh
