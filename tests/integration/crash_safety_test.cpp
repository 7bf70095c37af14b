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

bool wholeScript(const std::string& text) {
    // Every line complete; the bind names one of the two keys; notes only at the end.
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0)
        return false;
    const bool bound = text.find("bind \"tab\"") != std::string::npos ||
                       text.find("bind \"f6\"") != std::string::npos;
    std::size_t pos = 0, notes = 0;
    while (pos < text.size()) {
        const auto end = text.find("\r\n", pos);
        if (end == std::string::npos)
            return false;
        const std::string line = text.substr(pos, end - pos);
        if (line.rfind("//Modified by Handlehound - ", 0) == 0) {
            ++notes;
            if (line.find("' to '") == std::string::npos || line.back() != '\'')
                return false;
        }
        pos = end + 2;
    }
    return bound;
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
