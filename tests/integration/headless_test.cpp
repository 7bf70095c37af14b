// The headless program as a player meets it: a game folder, a dump the
// game writes, and the answer in hh.cfg.
#include "support/GameFolder.h"
#include "support/Process.h"

#include <csignal>
#include <gtest/gtest.h>

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

// Which lines are commands is the pickup's own rule; here the whole program
// takes a hostile dump, and the player's quit ends it with status zero.
TEST(Headless, HugeBinaryDumpIsAnsweredAndQuitEndsWithStatusZero) {
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
    g.writeDump({"]/hh quit"});
    EXPECT_EQ(p.waitForExit(10s), 0);
}
