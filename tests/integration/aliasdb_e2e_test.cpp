// The chief command on a machine with nothing else set up: each headless
// program starts the alias database of its own program folder. Players seen in
// earlier dumps are remembered there, and only there, for the lookup and the
// whole list; a stranger on the same machine is refused; a service that dies
// is started once more. The commands' answers are checked on their own.
#include "common/Strings.h"
#include "support/GameFolder.h"
#include "support/Process.h"
#include "support/RawHttp.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;
using hh::test::GameFolder;
using hh::test::Process;
using hh::test::waitUntil;

namespace {

// A headless program on its own game and program folders.
struct Player {
    GameFolder g;
    Process program{HH_BINARY,
                    {"--headless", "--always-on", "--quiet", "--program-dir", g.program().string()},
                    {"DISPLAY="}};

    // The port of the service it announced last, 0 before any.
    int servicePort() const {
        const std::string out = program.output();
        const std::string mark = "on http://127.0.0.1:";
        const auto at = out.rfind(mark);
        return at == std::string::npos ? 0 : std::stoi(out.substr(at + mark.size()));
    }
    // Looks the GUID's player up by name until the answer holds every one of
    // `expected` (recording runs in the background); returns the last answer.
    std::string lookUp(const std::string& name, const std::vector<std::string>& expected) {
        std::string script;
        for (int attempt = 0; attempt < 20; ++attempt) {
            auto dump = GameFolder::playerList({{"1a2b3c4d", name}});
            // The same command twice in a row is taken for a repeat.
            dump.push_back("]/hh " + (asked++ % 2 ? hh::toLower(name) : name));
            // Only a new answer counts: the last one, or the "Searching for
            // player" line written before the page arrives, is not it.
            std::filesystem::remove(g.resultScript());
            g.writeDump(dump);
            waitUntil(
                [&] {
                    script = g.resultText();
                    return script.find("^3= ^3") != std::string::npos ||
                           script.find("No ^3Aliases") != std::string::npos;
                },
                10s);
            if (std::all_of(expected.begin(), expected.end(), [&](const std::string& e) {
                    return script.find(e) != std::string::npos;
                }))
                break;
            std::this_thread::sleep_for(200ms);
        }
        return script;
    }
    int asked = 0;
};

// The alias database the program started: its one child process.
pid_t serviceOf(pid_t program) {
    std::ifstream children("/proc/" + std::to_string(program) + "/task/" + std::to_string(program) +
                           "/children");
    pid_t child = 0;
    children >> child;
    return child;
}

} // namespace

TEST(AliasDatabaseEndToEnd, EachProgramFolderKeepsItsOwnPrivateDatabase) {
    Player a, b;
    for (Player* p : {&a, &b})
        ASSERT_TRUE(
            waitUntil([&] { return p->g.resultText().find("ENABLED") != std::string::npos; }, 10s))
            << p->program.output() << p->program.errors();
    ASSERT_TRUE(a.servicePort() && b.servicePort()) << a.program.output() << b.program.output();
    EXPECT_NE(a.servicePort(), b.servicePort());

    // The same GUID under other names in the two games, and an old name in
    // the first: each folder lists only what its own program saw.
    auto first = GameFolder::playerList({{"1a2b3c4d", "Old Name"}});
    first.push_back("]/hh hb");
    a.g.writeDump(first);
    ASSERT_TRUE(
        waitUntil([&] { return a.g.resultText().find("ACTIVE") != std::string::npos; }, 10s));
    const std::string inA = a.lookUp("NewName", {"^7NewName", "^7Old"});
    EXPECT_NE(inA.find("^7NewName"), std::string::npos)
        << inA << a.program.output() << hh::test::readFile(a.g.program() / "log" / "aliasdb.log");
    const std::string inB = b.lookUp("Other", {"^7Other"});
    EXPECT_NE(inB.find("^7Other"), std::string::npos) << inB << b.program.output();
    EXPECT_EQ(inB.find("Name"), std::string::npos) << inB;
    EXPECT_TRUE(std::filesystem::exists(a.g.program() / "aliases.sqlite"));
    EXPECT_TRUE(std::filesystem::exists(b.g.program() / "aliases.sqlite"));

    // The records road asks the same database for the whole list.
    auto everyone = GameFolder::playerList({{"1a2b3c4d", "NewName"}});
    everyone.push_back("]/hh all");
    a.g.writeDump(everyone);
    EXPECT_TRUE(waitUntil(
        [&] { return a.g.resultText().find("- ^32 ^3aliases") != std::string::npos; }, 10s))
        << a.g.resultText();

    // Another program on this machine, without the owner's secret.
    const int port = a.servicePort();
    EXPECT_EQ(
        hh::test::sendRaw(port, hh::test::requestBytes(port, "GET", "/search?q=Name", "")).status,
        401);

    // The service dies: it is started again once, and the console says so.
    ASSERT_EQ(::kill(serviceOf(a.program.pid()), SIGKILL), 0);
    ASSERT_TRUE(waitUntil(
        [&] { return a.program.output().find("started it again") != std::string::npos; }, 10s))
        << a.program.output();
    EXPECT_NE(a.servicePort(), port);
    const std::string again = a.lookUp("NewName", {"^7NewName"});
    EXPECT_NE(again.find("^7Old"), std::string::npos) << again;
    ASSERT_EQ(::kill(serviceOf(a.program.pid()), SIGKILL), 0);
    EXPECT_TRUE(waitUntil(
        [&] { return a.program.output().find("stopped again") != std::string::npos; }, 10s))
        << a.program.output();

    for (Player* p : {&a, &b}) {
        p->program.signal(SIGTERM);
        EXPECT_EQ(p->program.waitForExit(10s), 0);
    }
}
