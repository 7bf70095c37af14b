#include "SettingsRig.h"
#include "common/HostSystem.h"
#include "gamelink/EngineProfiles.h"
#include "setup/GameFolders.h"
#include "setup/SetupCommand.h"
#include "setup/SetupDialog.h"

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
    void enablePathCompletion() override {}
    void setEngineChoices(const std::vector<std::string>&) override {}
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
    std::vector<ModChoice> mods;
    int mod = -1, closed = 0;
};

// A home folder in the temp folder; the rig's own game folder is not used.
struct SetupRig : SettingsRig {
    SetupRig(std::initializer_list<const char*> folders) {
        state.gDumpFileAbsPath.clear();
        shipScript();
        for (const char* r : folders)
            fs::create_directories(home / r);
    }
    std::string at(const std::string& relative) const { return (home / relative).generic_string(); }

    fs::path home = fake.temp / "home";
    FakeSetupView view;
    int hotKeyReregistrations = 0;
    std::function<void(const std::string&)> setDumpPath = [this](const std::string& p) {
        state.gDumpFileAbsPath = p;
    };
    std::function<void()> reregister = [this] { ++hotKeyReregistrations; };
    SetupDialogLogic dialog{view,
                            settings,
                            fake.platform,
                            script,
                            setDumpPath,
                            reregister,
                            home.generic_string(),
                            HostSystem::Linux}; // home folders as on Linux
};

TEST(SetupDialog, LoadDetectsTheGameFolderEngineAndMod) {
    const struct {
        std::initializer_list<const char*> folders;
        const char* folder; // relative to home, "" = none
        const char* engine;
        const char* mod;
    } cases[] = {
        {{}, "", "ioquake3", "osp"},
        {{".q3a/baseq3", ".q3a/osp"}, ".q3a/", "ioquake3", "osp"},
        {{".q3a", ".openarena/baseoa"}, ".openarena/", "openarena", "baseoa"},
        {{".q3a/baseq3", ".openarena/baseoa"}, ".q3a/", "ioquake3", "baseq3"},
    };
    for (const auto& c : cases) {
        SetupRig rig(c.folders);
        rig.dialog.load();
        EXPECT_EQ(rig.view.folder, *c.folder ? rig.at(c.folder) : "") << c.folder;
        EXPECT_EQ(rig.view.engine, c.engine) << c.folder;
        EXPECT_EQ(rig.dialog.selectedMod(), c.mod) << c.folder;
        EXPECT_EQ(rig.view.mods.at(static_cast<std::size_t>(rig.view.mod)).folder, c.mod);
    }
}

TEST(GameFolders, ATypedHomeFolderExpands) {
    const std::pair<const char*, const char*> cases[] = {
        {"~", "/home/p"}, {"~/.q3a", "/home/p/.q3a"}, {"~x/.q3a", "~x/.q3a"}, {"/q3", "/q3"}};
    for (const auto& [typed, expanded] : cases)
        EXPECT_EQ(expandHome(typed, "/home/p"), expanded) << typed;
}

TEST(SetupDialog, FailedTestsStoreNothingAndOnlyCancelCloses) {
    SetupRig rig({".q3a/baseq3", ".q3a/osp"});
    rig.dialog.load();
    rig.view.folder = rig.at("nowhere");
    rig.dialog.ok();
    rig.view.folder = "~/.q3a";
    rig.dialog.modClicked(2); // threewave, not installed
    rig.dialog.ok();
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 2u);
    EXPECT_FALSE(rig.dialog.canClose());
    EXPECT_EQ(rig.view.closed, 0);
    EXPECT_EQ(readFile(rig.iniPath()), "");
    rig.dialog.cancel();
    EXPECT_TRUE(rig.dialog.canClose() && rig.dialog.cancelled());
    EXPECT_EQ(rig.view.closed, 1);
}

TEST(SetupDialog, SecondRunKeepsTheInstalledScriptAndChangesKeys) {
    SetupRig rig({".q3a/baseq3", ".q3a/osp"});
    const std::string installed = rig.at(".q3a/baseq3/handleHound.cfg");
    rig.settings.setCfgAt(installed);
    writeFile(installed, "bind \"tab\" \"vstr part1; vstr w2;\"\r\n");
    rig.dialog.load();
    rig.view.commandKey = "F6";
    rig.dialog.ok();
    EXPECT_EQ(readFile(installed).substr(0, 37), "bind \"f6\" \"vstr part1; vstr w2;\"\r\n//M");
    EXPECT_EQ(rig.settings.commandKeyCode(), 117);
    EXPECT_EQ(rig.hotKeyReregistrations, 1);
    EXPECT_TRUE(fs::exists(rig.fake.paths.program / "handleHound.cfg")); // not installed again
}

TEST(SetupCommand, ErrorsGoToStandardErrorWithStatusOne) {
    SetupRig rig({".q3a/baseq3", ".q3a/osp", "empty"});
    const std::string q3a = rig.at(".q3a"), empty = rig.at("empty");
    const std::pair<SetupCommandArgs, std::string> cases[] = {
        {{q3a, "threewave", "", "", "", ""}, "You do NOT have the 'threewave' mod installed."},
        {{q3a, "../..", "", "", "", ""}, "You do NOT have the '../..' mod installed."},
        {{empty, "osp", "quake3", "", "", ""}, "The game folder was NOT Found at Path '" + empty},
        {{empty + "/gone", "osp", "", "", "", ""}, "The game folder '" + empty + "/gone' does not"},
        {{empty, "osp", "", "", "", ""}, "Can not tell which engine uses '" + empty},
        {{q3a, "osp", "", "f5", "", ""}, "Key can not be the same as Results/Status Key."},
        {{q3a, "osp", "doom", "", "", ""}, "Error!  Unknown engine 'doom'. Known engines: "},
        {{q3a, "osp", "", "ctrl", "", ""}, "'ctrl' is not a game key name Handlehound offers."},
        {{q3a, "", "", "", "", ""}, "Error!  --setup needs --game-dir DIR and --mod NAME."},
    };
    for (const auto& [args, message] : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(runSetupCommand(args, out, err, rig.fake.platform), 1) << message;
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
        EXPECT_EQ(err.str().back(), '\n');
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(rig.settings.path(), "");
}

TEST(SetupCommand, SetsUpWithoutAWindow) {
    SetupRig rig({".q3a/baseq3", ".q3a/osp"});
    std::ostringstream out, err;
    SetupCommandArgs args{rig.at(".q3a"), "osp", "", "F7", "", ""};
    ASSERT_EQ(runSetupCommand(args, out, err, rig.fake.platform), 0) << err.str();
    // A folder with baseq3 is the system's usual engine: ioquake3 here, id's own on Windows.
    const EngineProfile& usual = defaultEngineProfile();
    EXPECT_NE(out.str().find(usual.name + " (guessed from the game folder)"), std::string::npos);
    EXPECT_NE(out.str().find("press the Command key (f7); the Status key (f5)"), std::string::npos)
        << out.str();
    EXPECT_EQ(rig.settings.path(), rig.at(".q3a/osp/" + usual.dumpFileName));
    EXPECT_EQ(rig.settings.commandKeyCode(), 118);
    EXPECT_EQ(rig.settings.gameWindowTitle(), usual.windowTitle);
    EXPECT_NE(readFile(rig.settings.cfgAt()).find("bind \"f7\" \"vstr"), std::string::npos);
}

} // namespace
} // namespace hh
