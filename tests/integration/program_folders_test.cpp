// Where an installed and a portable program keep their files, what a newer
// version refreshes, and the starts the program refuses.
#include "common/Strings.h"
#include "common/Version.h"
#include "support/GameFolder.h"
#include "support/Process.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using hh::contains;
using hh::test::GameFolder;
using hh::test::Process;
using hh::test::readFile;
using hh::test::TempDir;
using hh::test::waitUntil;
using hh::test::writeFile;
namespace fs = std::filesystem;

const fs::path kShipped = fs::path(HH_SOURCE_DIR) / "data";

// The XDG folders: settings and window position in the config folder, logs in
// the state folder, the rest in the data folder; the files earlier versions
// kept elsewhere are moved there once.
TEST(ProgramFolders, InstalledProgramUsesTheUsersFoldersAndMovesOldFilesThere) {
    TempDir home;
    const fs::path data = home / "data", config = home / "config", state = home / "state",
                   game = home / "q3a";
    const std::vector<std::string> env{"HOME=" + home.path().string(),
                                       "XDG_DATA_HOME=" + data.string(),
                                       "XDG_CONFIG_HOME=" + config.string(),
                                       "XDG_STATE_HOME=" + state.string(),
                                       "XDG_RUNTIME_DIR=",
                                       "DISPLAY="};
    writeFile(data / "handlehound" / "handleHound.ini", "[Main]\r\nMaxNumAliases=42\r\n");
    writeFile(data / "handlehound" / "log" / "console.log", "old log\r\n");
    writeFile(config / "Handlehound" / "Handlehound.conf", "[Settings]\nLeft=1500\n");
    fs::create_directories(game / "baseq3");

    Process setup(
        HH_BINARY,
        {"--setup", "--game-dir", game.string(), "--mod", "baseq3", "--engine", "ioquake3"}, env);
    ASSERT_EQ(setup.waitForExit(10s), 0) << setup.errors();
    const std::string ini = readFile(config / "handlehound" / "handleHound.ini");
    EXPECT_TRUE(contains(ini, "MaxNumAliases=42") && contains(ini, "Path=")) << ini;
    EXPECT_EQ(readFile(config / "handlehound" / "Handlehound.conf"), "[Settings]\nLeft=1500\n");
    for (const fs::path& moved : {data / "handlehound" / "handleHound.ini",
                                  data / "handlehound" / "log", config / "Handlehound"})
        EXPECT_FALSE(fs::exists(moved)) << moved;

    Process run(HH_BINARY,
                {"--headless", "--always-on", "--quiet", "--lookup-url", "http://127.0.0.1:9"},
                env);
    ASSERT_TRUE(waitUntil([&] { return contains(run.output(), "ENABLED"); }, 10s)) << run.errors();
    run.signal(SIGTERM);
    ASSERT_EQ(run.waitForExit(10s), 0);
    const std::string log = readFile(state / "handlehound" / "console.log");
    EXPECT_TRUE(contains(log, "old log") && contains(log, "ENABLED")) << log;
}

// Each refused start says why on standard error, ends with status 2, shows
// no window, usage or other output, and leaves no settings file behind.
TEST(ProgramFolders, RefusedStartsSayWhyAndEndWithStatusTwo) {
    GameFolder held; // set up, with a headless program on it
    Process holder(HH_BINARY,
                   {"--headless", "--quiet", "--program-dir", held.program().string(),
                    "--lookup-url", "http://127.0.0.1:9"},
                   {"DISPLAY="});
    ASSERT_TRUE(waitUntil([&] { return contains(holder.output(), "Waiting"); }, 10s))
        << holder.errors();
    GameFolder gone;
    fs::remove_all(gone.game());
    TempDir fresh;
    const auto headless = [](const fs::path& dir) {
        return std::vector<std::string>{"--headless", "--program-dir", dir.string()};
    };
    const struct {
        std::vector<std::string> args, env;
        std::string says;
    } cases[] = {
        {{"-v"}, {}, "argument was not expected: -v\nTry 'handlehound --help'\n"},
        {{"--headless", "--program-dir"}, {}, "--program-dir"},
        {{}, {"DISPLAY=", "QT_QPA_PLATFORM="}, "--headless"},
        {{}, {"DISPLAY=:4095", "QT_QPA_PLATFORM="}, "--headless"},
        {headless(fresh.path()), {}, "the key Path of section [Main] is not set"},
        {headless(gone.program()),
         {},
         "The game folder '" + gone.game().string() + "/' does not exist"},
        {headless(held.program()),
         {},
         "Handlehound (PID " + std::to_string(holder.pid()) +
             ") is already running on the program folder " + held.program().string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        Process p(HH_BINARY, c.args, c.env.empty() ? std::vector<std::string>{"DISPLAY="} : c.env);
        EXPECT_EQ(p.waitForExit(10s), 2);
        const std::string err = p.errors();
        EXPECT_TRUE(contains(err, c.says)) << err;
        EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 2) << err;
        EXPECT_EQ(p.output(), "");
    }
    EXPECT_FALSE(fs::exists(fresh / "handleHound.ini"));
    EXPECT_TRUE(holder.running());
}

// Files copied into the program folder are replaced when this program is
// newer than the one that copied them, and only then.
TEST(ProgramFolders, ShippedFilesAreRefreshedByANewerVersion) {
    const std::string current = hh::versionText() + "\n";
    const std::string newer = std::to_string(hh::kVersionMajor + 1) + ".0.0\n";
    const struct {
        const char* stamp; // nullptr: a folder from before stamps
        bool refreshed;
    } cases[] = {
        {nullptr, true}, {"0.0.1\n", true}, {current.c_str(), false}, {newer.c_str(), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamp ? c.stamp : "no stamp");
        TempDir dir;
        if (c.stamp)
            writeFile(dir / "shipped.version", c.stamp);
        writeFile(dir / "Sound" / "on.wav", "old");
        writeFile(dir / "handleHound.BACKUP", "old");
        Process p(HH_BINARY, {"--headless", "--program-dir", dir.path().string()}, {"DISPLAY="});
        ASSERT_EQ(p.waitForExit(10s), 2); // not set up: after the copying
        const std::string wav = readFile(dir / "Sound" / "on.wav");
        const std::string backup = readFile(dir / "handleHound.BACKUP");
        EXPECT_EQ(wav == readFile(kShipped / "Sound" / "on.wav"), c.refreshed);
        EXPECT_EQ(backup == readFile(kShipped / "handleHound.cfg"), c.refreshed);
        EXPECT_FALSE(fs::exists(dir / "handleHound.cfg")) << "the installation took it away";
        EXPECT_TRUE(fs::exists(dir / "Sound" / "off.wav")) << "missing files are always copied";
        if (c.refreshed) {
            EXPECT_EQ(readFile(dir / "shipped.version"), current);
        }
    }
}
