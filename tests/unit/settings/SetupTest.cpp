#include "SettingsRig.h"
#include "settings/GameFolders.h"
#include "settings/SetupCommand.h"
#include "settings/SetupDialog.h"

#include <gtest/gtest.h>

#include <sstream>

namespace hh {
namespace {

using test::readFile;
using test::SettingsRig;
using test::writeFile;
namespace fs = std::filesystem;

struct FakeSetupView : SetupView {
    std::string gameFolderText() const override { return folder; }
    void setGameFolderText(const std::string& p) override { folder = p; }
    void enablePathCompletion() override { completion = true; }
    void setEngineChoices(const std::vector<std::string>& n) override { engines = n; }
    void selectEngine(const std::string& n) override { engine = n; }
    void setModChoices(const std::vector<ModChoice>& m) override { mods = m; }
    void selectMod(int i) override { mod = i; }
    void fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>&) override {}
    std::string commandKeyText() const override { return commandKey; }
    void setCommandKeyText(const std::string& n) override { commandKey = n; }
    std::string statusKeyText() const override { return statusKey; }
    void setStatusKeyText(const std::string& n) override { statusKey = n; }
    void closeDialog() override { ++closed; }

    std::string folder, engine, commandKey, statusKey;
    std::vector<std::string> engines;
    std::vector<ModChoice> mods;
    int mod = -1, closed = 0;
    bool completion = false;
};

// A home folder in the temp folder; the rig's own game folder is not used.
struct SetupRig : SettingsRig {
    SetupRig() {
        state.gDumpFileAbsPath.clear();
        shipScript();
    }
    void makeFolders(std::initializer_list<const char*> relative) {
        for (const char* r : relative)
            fs::create_directories(home / r);
    }
    std::string homeText() const { return home.string(); }

    fs::path home = fake.temp / "home";
    FakeSetupView view;
    std::vector<std::string> dumpPathsSet;
    int hotKeyReregistrations = 0;
    SetupDialogLogic dialog{view,
                            settings,
                            fake.platform,
                            script,
                            [this](const std::string& p) {
                                dumpPathsSet.push_back(p);
                                state.gDumpFileAbsPath = p;
                            },
                            [this] { ++hotKeyReregistrations; },
                            home.string()};
};

TEST(SetupDialog, LoadDetectsTheGameFolderEngineAndMod) {
    struct Case {
        std::initializer_list<const char*> folders;
        const char* folder; // relative to home, "" = none
        const char* engine;
        const char* mod;
    };
    const Case cases[] = {
        {{}, "", "ioquake3", "osp"},
        {{".q3a/baseq3"}, ".q3a/", "ioquake3", "baseq3"},
        {{".q3a/baseq3", ".q3a/osp"}, ".q3a/", "ioquake3", "osp"},
        {{".openarena/baseoa"}, ".openarena/", "openarena", "baseoa"},
        {{".q3a", ".openarena/baseoa"}, ".openarena/", "openarena", "baseoa"},
        {{".q3a/baseq3", ".openarena/baseoa"}, ".q3a/", "ioquake3", "baseq3"},
    };
    for (const auto& c : cases) {
        SetupRig rig;
        rig.makeFolders(c.folders);
        rig.dialog.load();
        const std::string expected = *c.folder ? (rig.home / c.folder).string() : "";
        EXPECT_EQ(rig.view.folder, expected) << c.folder;
        EXPECT_EQ(rig.view.engine, c.engine) << c.folder;
        EXPECT_EQ(rig.dialog.selectedMod(), c.mod) << c.folder;
        EXPECT_EQ(rig.view.mods.at(static_cast<std::size_t>(rig.view.mod)).folder, c.mod);
        EXPECT_EQ(rig.view.engines.size(), 4u);
        EXPECT_EQ(rig.view.commandKey, "tab");
        EXPECT_EQ(rig.view.statusKey, "f5");
        EXPECT_TRUE(rig.view.completion);
    }
}

TEST(SetupDialog, FailedTestsStoreNothingAndOnlyCancelCloses) {
    SetupRig rig;
    rig.makeFolders({".q3a/baseq3", ".q3a/osp"});
    rig.dialog.load();
    rig.view.folder = (rig.home / "nowhere").string();
    rig.dialog.ok();
    rig.view.folder = "~/.q3a";
    rig.dialog.modClicked(2);
    rig.dialog.ok();
    EXPECT_EQ(rig.fake.dialogs.messages,
              (std::vector<std::string>{
                  "Error! The game folder was NOT Found at Path '" + rig.homeText() +
                      "/nowhere/'. Please Enter the Correct Path to your game folder.",
                  "You do NOT have the 'threewave' mod installed. Please choose a different mod "
                  "to continue."}));
    EXPECT_FALSE(rig.dialog.canClose());
    EXPECT_EQ(rig.view.closed, 0);
    EXPECT_EQ(readFile(rig.iniPath()), "");
    rig.dialog.cancel();
    EXPECT_TRUE(rig.dialog.canClose());
    EXPECT_TRUE(rig.dialog.cancelled());
    EXPECT_EQ(rig.view.closed, 1);
}

TEST(SetupDialog, FirstRunKeepingTheOfferedKeys) {
    SetupRig rig;
    rig.makeFolders({".q3a/baseq3", ".q3a/osp"});
    rig.dialog.load();
    rig.dialog.ok();
    const std::string dumpPath = rig.homeText() + "/.q3a/osp/handleHound.txt";
    const fs::path installed = rig.home / ".q3a/baseq3/handleHound.cfg";
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
    EXPECT_TRUE(fs::exists(dumpPath));
    EXPECT_EQ(rig.settings.path(), dumpPath);
    EXPECT_EQ(rig.dumpPathsSet, std::vector<std::string>{dumpPath});
    EXPECT_EQ(rig.settings.cfgAt(), installed.string());
    EXPECT_NE(readFile(installed).find("condump handleHound.txt\""), std::string::npos);
    EXPECT_EQ(rig.settings.gameWindowTitle(), "ioquake3");
    EXPECT_EQ(rig.settings.read("Behavior", "CommandKey"), "");
    EXPECT_EQ(rig.settings.read("Behavior", "CommandKeyCode"), "9");
    EXPECT_EQ(rig.settings.read("Behavior", "StatusKeyCode"), "116");
    EXPECT_EQ(rig.hotKeyReregistrations, 0);
    EXPECT_TRUE(rig.dialog.canClose());
    EXPECT_FALSE(rig.dialog.cancelled());
    EXPECT_EQ(rig.view.closed, 1);
}

TEST(SetupDialog, SecondRunKeepsTheInstalledScriptAndChangesKeys) {
    SetupRig rig;
    rig.makeFolders({".q3a/baseq3", ".q3a/osp"});
    const fs::path installed = rig.home / ".q3a/baseq3/handleHound.cfg";
    rig.settings.setCfgAt(installed.string());
    writeFile(installed, "bind \"tab\" \"vstr part1; vstr w2;\"\r\n");
    rig.dialog.load();
    rig.view.commandKey = "F6";
    rig.dialog.ok();
    EXPECT_EQ(readFile(installed).substr(0, 37), "bind \"f6\" \"vstr part1; vstr w2;\"\r\n//M");
    EXPECT_EQ(rig.settings.commandKey(), "f6");
    EXPECT_EQ(rig.settings.commandKeyCode(), 117);
    EXPECT_EQ(rig.hotKeyReregistrations, 1);
    EXPECT_TRUE(fs::exists(rig.fake.paths.program / "handleHound.cfg")); // not installed again
}

TEST(SetupDialog, EngineChoiceMovesTheBaseGameButton) {
    SetupRig rig;
    rig.makeFolders({".q3a/baseq3"});
    rig.dialog.load();
    ASSERT_EQ(rig.dialog.selectedMod(), "baseq3");
    rig.dialog.engineSelected("openarena");
    EXPECT_EQ(rig.dialog.selectedMod(), "baseoa");
    EXPECT_EQ(rig.view.mods.back().folder, "baseoa");
    rig.dialog.modClicked(3);
    rig.dialog.engineSelected("quake3");
    EXPECT_EQ(rig.dialog.selectedMod(), "q3ut2");
    EXPECT_EQ(rig.view.mod, 3);
}

TEST(SetupDialog, BrowseFindsTheGameFolderAboveTheChosenFile) {
    SetupRig rig;
    rig.makeFolders({".q3a/baseq3"});
    writeFile(rig.home / ".q3a/baseq3/q3config.cfg", "");
    writeFile(rig.fake.temp / "elsewhere/x.cfg", "");
    rig.dialog.load();
    rig.view.folder = "typed";
    rig.fake.dialogs.fileAnswers = {(rig.fake.temp / "elsewhere/x.cfg").string(),
                                    (rig.home / ".q3a/baseq3/q3config.cfg").string()};
    rig.dialog.browse();
    EXPECT_EQ(rig.view.folder, rig.homeText() + "/.q3a/");
    EXPECT_EQ(rig.fake.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(rig.fake.dialogs.messages,
              std::vector<std::string>{
                  "Error!  'baseq3' not found. Please Open a file in your game folder."});
    rig.dialog.browse(); // cancelled: the box keeps its text
    EXPECT_EQ(rig.view.folder, rig.homeText() + "/.q3a/");
}

TEST(SetupCommand, SetsUpWithoutAWindow) {
    SetupRig rig;
    rig.makeFolders({".q3a/baseq3", ".q3a/osp"});
    std::ostringstream out, err;
    SetupCommandArgs args{(rig.home / ".q3a").string(), "osp", "", "F7", "", ""};
    EXPECT_EQ(runSetupCommand(args, out, err, rig.fake.platform), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_NE(out.str().find("ioquake3 (guessed from the game folder)"), std::string::npos);
    EXPECT_EQ(rig.settings.path(), rig.homeText() + "/.q3a/osp/handleHound.txt");
    EXPECT_EQ(rig.settings.commandKey(), "f7");
    EXPECT_EQ(rig.settings.commandKeyCode(), 118);
    EXPECT_EQ(rig.settings.statusKeyCode(), 116);
    EXPECT_NE(readFile(rig.home / ".q3a/baseq3/handleHound.cfg").find("bind \"f7\""),
              std::string::npos);
}

TEST(SetupCommand, ErrorsGoToStandardErrorWithStatusOne) {
    struct Case {
        SetupCommandArgs args;
        std::string err;
    };
    SetupRig rig;
    rig.makeFolders({".q3a/baseq3", ".q3a/osp", "empty"});
    const std::string q3a = (rig.home / ".q3a").string();
    const std::string empty = (rig.home / "empty").string();
    const Case cases[] = {
        {{q3a, "threewave", "", "", "", ""},
         "You do NOT have the 'threewave' mod installed. Please choose a different mod to "
         "continue.\n"},
        {{q3a, "../..", "", "", "", ""},
         "You do NOT have the '../..' mod installed. Please choose a different mod to continue.\n"},
        {{empty, "osp", "quake3", "", "", ""},
         "Error! The game folder was NOT Found at Path '" + empty +
             "/'. Please Enter the Correct Path to your game folder.\n"},
        {{empty, "osp", "", "", "", ""},
         "Error!  Can not tell which engine uses '" + empty +
             "'. Please name it with --engine (quake3, quake3-linux, ioquake3, openarena).\n"},
        {{q3a, "osp", "doom", "", "", ""},
         "Error!  Unknown engine 'doom'. Known engines: quake3, quake3-linux, ioquake3, "
         "openarena.\n"},
        {{q3a, "osp", "", "f5", "", ""},
         "Command Exec Key can not be the same as Results/Status Key.\n"},
        {{q3a, "osp", "", "ctrl", "", ""},
         "Error!  'ctrl' is not a game key name Handlehound offers.\n"},
        {{q3a, "", "", "", "", ""}, "Error!  --setup needs --game-dir DIR and --mod NAME.\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(runSetupCommand(c.args, out, err, rig.fake.platform), 1) << c.err;
        EXPECT_EQ(err.str(), c.err);
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(rig.settings.path(), "");
}

TEST(SetupCommand, ProgramDirOnTheCommandLineHoldsSettingsAndScript) {
    SetupRig rig;
    rig.makeFolders({".openarena/baseoa"});
    const fs::path other = rig.fake.temp / "other-program";
    writeFile(other / "handleHound.cfg", readFile(test::shippedScriptSource()));
    std::ostringstream out, err;
    SetupCommandArgs args{
        (rig.home / ".openarena").string(), "baseoa", "openarena", "f7", "", other.string()};
    ASSERT_EQ(runSetupCommand(args, out, err, rig.fake.platform), 0) << err.str();
    Settings there(other / "handleHound.ini");
    EXPECT_EQ(there.baseFolder(), "baseoa");
    const fs::path installed = rig.home / ".openarena/baseoa/handleHound.cfg";
    EXPECT_EQ(there.cfgAt(), installed.string());
    EXPECT_EQ(there.path(), rig.homeText() + "/.openarena/baseoa/handleHound.txt");
    EXPECT_NE(readFile(installed).find("bind \"f7\" \"vstr"), std::string::npos);
    EXPECT_TRUE(fs::exists(other / "handleHound.BACKUP"));
    EXPECT_EQ(out.str().find("guessed"), std::string::npos);
    EXPECT_EQ(readFile(rig.iniPath()), "");
}

TEST(GameFolders, PathTextHelpers) {
    const std::pair<const char*, const char*> slashes[] = {
        {"", ""}, {"/", "/"}, {"a", "a/"}, {"a/", "a/"}, {"a//", "a/"}, {"/x/y", "/x/y/"}};
    for (const auto& [in, out] : slashes)
        EXPECT_EQ(withTrailingSlash(in), out) << in;
    const std::pair<const char*, const char*> homes[] = {
        {"~", "/h"}, {"~/.q3a", "/h/.q3a"}, {"~x/.q3a", "~x/.q3a"}, {"/a/~", "/a/~"}, {"", ""}};
    for (const auto& [in, out] : homes)
        EXPECT_EQ(expandHome(in, "/h"), out) << in;
}

} // namespace
} // namespace hh
