// A crash never leaves a half-written file: the writers are killed with
// SIGKILL at random moments while they rewrite hh.cfg, handleHound.ini and
// handleHound.cfg; afterwards each file is one whole version.
#include "gamelink/ResultScript.h"
#include "settings/IniFile.h"
#include "support/GameFolder.h"
#include "support/Process.h"

#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::string kIniBase = "[Main]\r\nNewUser=No\r\nMaxNumAliases=150\r\n\r\n[Behavior]\r\n"
                             "CommandKey=tab\r\nNameColor=^7\r\nStatusKey=f5\r\n";

// A write cut short ends without its line end or before the bind; the notes'
// own form is the script editor's rule.
bool wholeScript(const std::string& text) {
    const bool bound = text.find("bind \"tab\"") != std::string::npos ||
                       text.find("bind \"f6\"") != std::string::npos;
    return bound && text.ends_with("\r\n");
}

} // namespace

TEST(CrashSafety, KilledWritersLeaveWholeFiles) {
    std::mt19937 rng(20261205);
    const std::string iniA = hh::iniWithKey(kIniBase, "Behavior", "NameColor", "^1");
    const std::string iniB = hh::iniWithKey(kIniBase, "Behavior", "NameColor", "^2");
    const std::string hhA = hh::renderResultScript("first answer; with a brace {hint}");
    const std::string hhB = hh::renderResultScript("second answer\\nline two");
    const int kills = 25;
    for (int round = 0; round < kills; ++round) {
        hh::test::GameFolder g;
        hh::test::writeFile(g.ini(), kIniBase);
        hh::test::writeFile(g.game() / "baseq3" / "handleHound.cfg",
                            "seta part1 \"pb_plist\"\r\nbind \"tab\" \"vstr part1; vstr w2;\"\r\n"
                            "bind \"f5\" \"exec hh.cfg\"\r\n");
        hh::test::Process driver(HH_REWRITE_DRIVER, {g.game().string(), g.program().string()});
        ASSERT_TRUE(hh::test::waitUntil([&] { return driver.output() == "ready\n"; }, 10s));
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution(5, 80)(rng)));
        driver.signal(SIGKILL);
        driver.waitForExit(10s);

        const std::string hhcfg = g.resultText();
        EXPECT_TRUE(hhcfg.empty() || hhcfg == hhA || hhcfg == hhB)
            << "round " << round << ": " << hhcfg;
        const std::string ini = hh::test::readFile(g.ini());
        EXPECT_TRUE(ini == kIniBase || ini == iniA || ini == iniB)
            << "round " << round << ": " << ini;
        EXPECT_TRUE(wholeScript(hh::test::readFile(g.game() / "baseq3" / "handleHound.cfg")))
            << "round " << round;
    }
}
