// The typed road end to end: the program runs headless on Xvfb, a window
// titled "Quake 3: Arena" has the focus, "/hh time" is typed with xdotool,
// and the answer appears in hh.cfg without any console dump.
// gtest before Xlib: Xlib defines None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "XTestServer.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

namespace hh::test::x11 {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(TypedCommandE2E, TypedTimeCommandAnswersInTheResultScript) {
#ifndef HH_BINARY
    GTEST_SKIP() << "built without the handlehound program";
#else
    if (!fs::exists(HH_BINARY))
        GTEST_SKIP() << HH_BINARY << " is not built";
    const fs::path root = fs::temp_directory_path() / ("hh-e2e-" + std::to_string(getpid()));
    struct Cleanup {
        fs::path root;
        ChildProcess program; // stopped before its folder goes
        ~Cleanup() {
            program.stop();
            fs::remove_all(root);
        }
    } cleanup{root, {}};
    for (const char* dir : {"program", "game/baseq3", "game/osp", "home"})
        fs::create_directories(root / dir);
    std::ofstream(root / "program" / "handleHound.ini", std::ios::binary)
        << "[Main]\r\nPath=" << (root / "game" / "osp" / "handleHound.who").string()
        << "\r\nNewUser=No\r\nGameWindowTitle=Quake 3: Arena\r\n"
        << "[Behavior]\r\nCommandKey=tab\r\nCommandKeyCode=9\r\n"
        << "StatusKey=f5\r\nStatusKeyCode=116\r\n";

    TestWindow game("Quake 3: Arena");
    game.focus();
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const fs::path output = root / "program-output.txt";
    cleanup.program.start(
        {HH_BINARY, "--headless", "--quiet", "--program-dir", (root / "program").string()},
        output.string());
    const fs::path hhCfg = root / "game" / "baseq3" / "hh.cfg";
    // The start detector notices the game window within its 2.5 s poll.
    ASSERT_TRUE(pumpUntil([&] { return slurp(hhCfg).find("ENABLED") != std::string::npos; },
                          std::chrono::seconds(20)))
        << "monitoring never started; program output:\n"
        << slurp(output);
    // The watcher installs the key observer on its next 1 s tick: type until
    // the answer comes (Escape first, so a half-seen line starts afresh).
    const std::regex time(R"([0-9]{1,2}:[0-9]{2}:[0-9]{2})");
    bool answered = false;
    for (int attempt = 0; attempt < 10 && !answered; ++attempt) {
        ASSERT_EQ(
            xdotool({"key", "Escape", "slash", "h", "h", "space", "t", "i", "m", "e", "Return"}),
            0);
        answered = pumpUntil([&] { return std::regex_search(slurp(hhCfg), time); },
                             std::chrono::seconds(2));
    }
    EXPECT_TRUE(answered) << "hh.cfg:\n" << slurp(hhCfg) << "\nprogram output:\n" << slurp(output);
    EXPECT_EQ(slurp(root / "game" / "osp" / "handleHound.who").find("/hh time"), std::string::npos)
        << "the command must come from the keys, not from a dump";
#endif
}

} // namespace
} // namespace hh::test::x11
