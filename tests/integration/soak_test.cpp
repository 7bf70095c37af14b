// Many commands through the headless program, as the game writes them: every
// command is answered exactly once, and memory and open files stay flat.
// HH_SOAK_COMMANDS sets the number (CI runs a short form; the full run is 10000).
#include "common/Strings.h"
#include "support/AliasPages.h"
#include "support/GameFolder.h"
#include "support/HttpTestServer.h"
#include "support/Process.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

long openFiles(pid_t pid) {
    long n = 0;
    std::error_code ec;
    for ([[maybe_unused]] const auto& e :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
        ++n;
    return n;
}

} // namespace

TEST(Soak, EveryCommandAnsweredOnceWithFlatResources) {
    const char* env = std::getenv("HH_SOAK_COMMANDS");
    const int commands = env ? std::atoi(env) : 300;
    hh::test::HttpTestServer server([](const hh::test::HttpRequest& r) {
        const auto at = r.target.find("guid=");
        const std::string guid = at == std::string::npos ? "" : r.target.substr(at + 5, 8);
        hh::test::HttpReply reply;
        reply.body = hh::test::aliasPage({guid + "_known"});
        return reply;
    });
    hh::test::GameFolder g;
    hh::test::TempDir desktop;
    hh::test::Process p(HH_BINARY,
                        {"--headless", "--always-on", "--quiet", "--program-dir",
                         g.program().string(), "--lookup-url", server.baseUrl()},
                        {"DISPLAY=", "XDG_DESKTOP_DIR=" + desktop.path().string()});
    ASSERT_TRUE(hh::test::waitUntil(
        [&] { return g.resultText().find("ENABLED") != std::string::npos; }, 10s));

    const auto players =
        hh::test::GameFolder::playerList({{"1a2b3c4d", "Alpha"}, {"5e6f7a8b", "Bravo"}});
    long rssAtTenth = 0, filesAtTenth = 0;
    int copies = 0, lookups = 0;
    for (int i = 0; i < commands; ++i) {
        std::vector<std::string> lines;
        std::string answer; // a part of hh.cfg only this command's answer holds
        if (i % 4 == 3) {
            lines = players;
            const bool alpha = (i / 4) % 2;
            lines.push_back(alpha ? "]/hh alpha" : "]/hh bravo");
            answer = (alpha ? "1a2b3c4d" : "5e6f7a8b") + std::string("_known");
            ++lookups;
        } else {
            const std::string token = hh::concat({"c", std::to_string(i)});
            lines.push_back("]/hh copy " + token);
            answer = "{'" + token + "'";
            ++copies;
        }
        g.writeDump(lines);
        ASSERT_TRUE(hh::test::waitUntil(
            [&] { return g.resultText().find(answer) != std::string::npos; }, 15s))
            << "command " << i << " was not answered; hh.cfg: " << g.resultText();
        if (i == commands / 10) {
            rssAtTenth = residentKb(p.pid());
            filesAtTenth = openFiles(p.pid());
        }
    }
    const long rssEnd = residentKb(p.pid());
    const long filesEnd = openFiles(p.pid());
    p.signal(SIGTERM);
    ASSERT_EQ(p.waitForExit(10s), 0);

    const std::string out = p.output();
    EXPECT_EQ(hh::test::occurrences(out, "> Copy command completed successfully."),
              static_cast<std::size_t>(copies));
    std::size_t pageRequests = 0;
    for (const auto& r : server.requests())
        pageRequests += r.method == "GET" && r.target.find("guid=") != std::string::npos;
    EXPECT_EQ(pageRequests, static_cast<std::size_t>(lookups));
    // Flat: no more than a small allowance over the level after warm-up.
    // AddressSanitizer keeps freed memory in quarantine, so resident memory
    // says nothing there; its leak check at exit covers that build.
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LE(rssEnd, rssAtTenth + 4096)
        << "resident kB grew from " << rssAtTenth << " to " << rssEnd;
#endif
    EXPECT_LE(filesEnd, filesAtTenth + 2)
        << "open files grew from " << filesAtTenth << " to " << filesEnd;
    std::printf("soak: %d commands (%d lookups), resident %ld -> %ld kB, open files %ld -> %ld\n",
                commands, lookups, rssAtTenth, rssEnd, filesAtTenth, filesEnd);
}
