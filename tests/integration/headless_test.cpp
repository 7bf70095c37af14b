// The headless program as a player meets it: a game folder, a dump the
// game writes, and the answer in hh.cfg.
#include "common/Version.h"
#include "support/GameFolder.h"
#include "support/Process.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <regex>

using namespace std::chrono_literals;
using hh::test::GameFolder;
using hh::test::Process;
using hh::test::waitUntil;

namespace {

std::vector<std::string> headlessArgs(const GameFolder& g) {
    return {"--headless",         "--always-on",  "--quiet",           "--program-dir",
            g.program().string(), "--lookup-url", "http://127.0.0.1:9"};
}

bool resultHolds(const GameFolder& g, const std::string& text) {
    return g.resultText().find(text) != std::string::npos;
}

} // namespace

// Other players' chat, names and server prints after the player's own
// command run nothing: the program answers the typed command, keeps its
// settings, stays on and ends only on the player's own quit.
TEST(Headless, OnlyTypedCommandsRunAndQuitEndsWithStatusZero) {
    GameFolder g;
    Process p(HH_BINARY, headlessArgs(g), {"DISPLAY="});
    ASSERT_TRUE(waitUntil([&] { return resultHolds(g, "ENABLED"); }, 10s));
    const std::string settings = hh::test::readFile(g.ini());
    auto lines = GameFolder::playerList({{"1a2b3c4d", "Eve/hh quit"}});
    lines.insert(lines.begin(), {"]/hh time", "Eve: /hh disable"});
    lines.push_back("/hh numaliases 1");
    g.writeDump(lines);
    const std::regex timeAnswer(R"(echo \^3\d{1,2}:\d\d:\d\d \^3[AP]M\r\n)");
    ASSERT_TRUE(waitUntil([&] { return std::regex_match(g.resultText(), timeAnswer); }, 5s))
        << g.resultText();
    EXPECT_EQ(hh::test::readFile(g.ini()), settings);
    EXPECT_TRUE(p.running());

    g.writeDump({"]/hh quit"});
    EXPECT_EQ(p.waitForExit(10s), 0);
}

TEST(Headless, VersionAndHelp) {
    Process version(HH_BINARY, {"--version"});
    EXPECT_EQ(version.waitForExit(10s), 0);
    EXPECT_EQ(version.output(), "Handlehound v" + hh::versionText() + "\n");
    Process help(HH_BINARY, {"--help"});
    EXPECT_EQ(help.waitForExit(10s), 0);
    EXPECT_NE(help.output().find("--headless"), std::string::npos);
}

// A bad command line and a desktop start without a display each end with
// status 2 and a short note on standard error, never with a window or usage.
TEST(Headless, BadStartsEndWithOneLineAndStatusTwo) {
    const struct {
        std::vector<std::string> args, env;
        std::string says;
    } cases[] = {
        {{"-v"}, {}, "argument was not expected: -v\nTry 'handlehound --help'\n"},
        {{"foo", "--headless"}, {}, "not expected: foo\nTry 'handlehound --help'\n"},
        {{"--bogus"}, {}, "not expected: --bogus\nTry 'handlehound --help'\n"},
        {{"--headless", "--program-dir"}, {}, "--program-dir"},
        {{}, {"DISPLAY=", "QT_QPA_PLATFORM="}, "--headless"},
        {{}, {"DISPLAY=:4095", "QT_QPA_PLATFORM="}, "--headless"},
    };
    for (const auto& c : cases) {
        Process p(HH_BINARY, c.args, c.env);
        EXPECT_EQ(p.waitForExit(10s), 2) << c.says;
        const std::string err = p.errors();
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 2) << err;
        EXPECT_EQ(p.output(), "");
    }
}

TEST(Headless, HugeBinaryDumpIsAnsweredAndLeavesAHarmlessScript) {
    GameFolder g;
    Process p(HH_BINARY, headlessArgs(g), {"DISPLAY="});
    ASSERT_TRUE(waitUntil([&] { return resultHolds(g, "ENABLED"); }, 10s));
    // 50 MB of bytes that are no text in any encoding, NULs and a 1 MB line
    // included, then a command whose argument carries an injection attempt.
    std::string junk(50u << 20, '\0');
    for (std::size_t i = 0; i < junk.size(); i += 7)
        junk[i] = static_cast<char>(0x80 + (i % 120));
    std::vector<std::string> lines{junk, std::string(1u << 20, 'x'),
                                   "]/hh copy a;quit\"x\"//y/*z\x01\xe9"};
    g.writeDump(lines);
    ASSERT_TRUE(waitUntil([&] { return resultHolds(g, "Copy"); }, 20s)) << g.resultText();
    const std::string script = g.resultText();
    for (char c : std::string("\"\x01;"))
        EXPECT_EQ(script.find(c), std::string::npos) << script;
    EXPECT_EQ(script.find("//"), std::string::npos) << script;
    EXPECT_EQ(script.find("/*"), std::string::npos) << script;
    EXPECT_TRUE(p.running());
}
