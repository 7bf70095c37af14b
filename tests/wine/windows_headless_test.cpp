// handlehound.exe under Wine, driven through the file channel as the game
// drives it, beside the Linux program given the same dumps: every answer in
// hh.cfg must be the same text. The Windows side lives in a folder with a
// non-ASCII name, and its folders are given with backslashes.
#include "support/AliasPages.h"
#include "support/GameFolder.h"
#include "support/HttpTestServer.h"
#include "support/Process.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace std::chrono_literals;
using hh::test::GameFolder;
using hh::test::HttpReply;
using hh::test::Process;
using hh::test::waitUntil;

namespace {

// Wine maps drive Z: to the root of the Linux file system.
std::string windowsPath(const std::filesystem::path& path) {
    std::string text = "Z:" + path.generic_string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// The alias database: a page for one GUID, a slow or endless one for others.
HttpReply aliasDatabase(const hh::test::HttpRequest& request) {
    HttpReply reply;
    if (request.target.find("aaaaaaaa") != std::string::npos) {
        reply.body = hh::test::aliasPage(hh::test::numberedNames(30, "Sarge"));
    } else if (request.target.find("cccccccc") != std::string::npos) {
        reply.behaviour = HttpReply::Behaviour::Trickle;
        reply.body = std::string(5000, 'x');
    } else {
        reply.behaviour = HttpReply::Behaviour::Huge;
        reply.hugeBytes = 64LL << 20;
    }
    return reply;
}

struct Command {
    const char* what;
    std::vector<std::string> dump;
    bool clockDependent; // time and ping: digits may differ between the two runs
};

std::string withoutDigits(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }, '#');
    return text;
}

// A program with its own game folder, and the last answer taken from it.
struct Player {
    GameFolder folder;
    std::unique_ptr<Process> program;
    std::string lastAnswer;

    explicit Player(const std::string& inside) : folder(inside) {}

    // The next answer after a new dump: hh.cfg changed and is no interim note.
    bool answered(std::string& answer) {
        answer = folder.resultText();
        return !answer.empty() && answer != lastAnswer &&
               answer.find("Updating") == std::string::npos &&
               answer.find("Searching") == std::string::npos;
    }
};

} // namespace

TEST(WindowsHeadless, AnswersAsTheLinuxProgramDoes) {
    hh::test::HttpTestServer server(aliasDatabase);
    Player windows("J\xc3\xb6rg's Spiele"), linux("");

    // Set up as a player would: --setup on a fresh game folder, from the
    // Windows program itself; the Linux side gets the same engine's names.
    std::filesystem::remove(windows.folder.ini());
    Process setup(HH_WINE_RUN, {HH_WINDOWS_EXE, "--setup", "--game-dir",
                                windowsPath(windows.folder.game()) + "\\", "--mod", "osp",
                                "--program-dir", windowsPath(windows.folder.program())});
    ASSERT_EQ(setup.waitForExit(120s), 0) << setup.output() << setup.errors();
    EXPECT_NE(setup.output().find("set up for quake3"), std::string::npos) << setup.output();
    std::filesystem::remove(linux.folder.ini());
    Process linuxSetup(HH_BINARY,
                       {"--setup", "--game-dir", linux.folder.game().string(), "--mod", "osp",
                        "--engine", "quake3", "--program-dir", linux.folder.program().string()});
    ASSERT_EQ(linuxSetup.waitForExit(30s), 0) << linuxSetup.errors();

    const std::string lookup = server.baseUrl() + "/";
    windows.program = std::make_unique<Process>(
        HH_WINE_RUN,
        std::vector<std::string>{HH_WINDOWS_EXE, "--headless", "--always-on", "--quiet",
                                 "--program-dir", windowsPath(windows.folder.program()),
                                 "--lookup-url", lookup},
        std::vector<std::string>{"DISPLAY="});
    linux.program = std::make_unique<Process>(
        HH_BINARY,
        std::vector<std::string>{"--headless", "--always-on", "--quiet", "--program-dir",
                                 linux.folder.program().string(), "--lookup-url", lookup},
        std::vector<std::string>{"DISPLAY="});
    for (Player* p : {&windows, &linux}) {
        std::string first;
        ASSERT_TRUE(waitUntil([&] { return p->answered(first); }, 60s))
            << p->program->output() << p->program->errors();
        p->lastAnswer = first;
    }
    EXPECT_EQ(windows.lastAnswer, linux.lastAnswer);

    auto sarge = GameFolder::playerList({{"aaaaaaaa", "Sarge"}});
    sarge.push_back("]/hh Sarge");
    std::string junk(4u << 20, '\0');
    for (std::size_t i = 0; i < junk.size(); i += 7)
        junk[i] = static_cast<char>(0x80 + (i % 120));
    // Only what runs through Windows code: the clock, the page fetcher with
    // its time-out and bound, ICMP, reading a hostile dump. The rest is shared.
    const Command commands[] = {
        // Neighbours differ, so each answer is told apart from the one before.
        {"time", {"]/hh time"}, true},
        {"name lookup", sarge, false},
        {"trickling page", {"]/hh guid cccccccc"}, false},
        {"ping", {"]/hh ping 127.0.0.1"}, true},
        {"huge page", {"]/hh guid dddddddd"}, false},
        {"hostile dump", {junk, "]/hh copy a;quit\"x\"//y/*z\x01\xe9"}, false},
    };
    for (const auto& c : commands) {
        for (Player* p : {&windows, &linux})
            p->folder.writeDump(c.dump);
        std::string answers[2];
        for (int i = 0; i < 2; ++i) {
            Player& p = i == 0 ? windows : linux;
            // A lookup gives up after 10 s; Wine starts slower than Linux.
            EXPECT_TRUE(waitUntil([&] { return p.answered(answers[i]); }, 30s))
                << c.what << (i == 0 ? " (Windows): " : " (Linux): ") << answers[i];
            p.lastAnswer = answers[i];
        }
        if (c.clockDependent)
            EXPECT_EQ(withoutDigits(answers[0]), withoutDigits(answers[1])) << c.what;
        else
            EXPECT_EQ(answers[0], answers[1]) << c.what;
    }

    // Ctrl+C ends the Windows program as SIGINT ends the Linux one.
    windows.program->signal(SIGINT);
    EXPECT_EQ(windows.program->waitForExit(30s), 0);
    EXPECT_EQ(windows.folder.resultText(), "echo ^3Handlehound ^3is ^3Not ^3Running.\r\n");
}
