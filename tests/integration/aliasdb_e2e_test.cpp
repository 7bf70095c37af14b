// The chief command on a machine with nothing else set up: each headless
// program starts the alias database of its own program folder. Players seen in
// earlier dumps are remembered there, and only there; a stranger on the same
// machine is refused; a service that dies is started once more.
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

std::string aliasDbBinary() {
    return (std::filesystem::path(HH_BINARY).parent_path() / "handlehound-aliasdb").string();
}

// Records what console dumps show, straight into a program folder's database.
void importDumps(const GameFolder& g, const std::vector<std::vector<std::string>>& dumps) {
    std::vector<std::string> args = {"import", "--db", (g.program() / "aliases.sqlite").string()};
    for (std::size_t i = 0; i < dumps.size(); ++i) {
        std::string text;
        for (const auto& line : dumps[i])
            text += line + "\n";
        const auto file = g.program() / ("seen" + std::to_string(i) + ".who");
        hh::test::writeFile(file, text);
        args.push_back(file.string());
    }
    Process import(aliasDbBinary(), args);
    ASSERT_EQ(import.waitForExit(20s), 0) << import.errors();
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
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
    EXPECT_NE(inA.find("echo ^32, "), std::string::npos) << inA; // the count prefix
    const std::string inB = b.lookUp("Other", {"^7Other"});
    EXPECT_NE(inB.find("^7Other"), std::string::npos) << inB << b.program.output();
    EXPECT_EQ(inB.find("Name"), std::string::npos) << inB;
    EXPECT_TRUE(std::filesystem::exists(a.g.program() / "aliases.sqlite"));
    EXPECT_TRUE(std::filesystem::exists(b.g.program() / "aliases.sqlite"));

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

// Beyond one player: the whole list, the reverse lookup, name thieves, and
// the player's own GUID left out.
TEST(AliasDatabaseEndToEnd, WholeListsNamesAndThieves) {
    Player p;
    GameFolder& g = p.g;
    ASSERT_TRUE(waitUntil([&] { return g.resultText().find("ENABLED") != std::string::npos; }, 10s))
        << p.program.output() << p.program.errors();
    // Earlier games, recorded in the program folder's database.
    const auto victim = GameFolder::playerList({{"22222222", "Victim"}, {"33333333", "Shared"}});
    std::vector<std::vector<std::string>> dumps = {
        victim, victim, GameFolder::playerList({{"22222222", "Victim"}, {"22222222", "Shared"}})};
    importDumps(g, dumps);
    hh::test::writeFile(g.game() / "osp" / "q3config.cfg", "seta name \"^2Me\"\n");

    // A full server: the player, a thief in the victim's name, strangers.
    std::vector<std::pair<std::string, std::string>> server = {{"44444444", "Me"},
                                                               {"99999999", "victim"}};
    for (int i = 0; i < 14; ++i)
        server.emplace_back("5555" + std::to_string(1000 + i), "Stranger" + std::to_string(i));
    // Runs a command from a dump and waits for an answer holding `answerHas`.
    const auto ask = [&](const std::string& command, const std::string& answerHas) {
        auto lines = GameFolder::playerList(server);
        lines.push_back("]/hh " + command);
        g.writeDump(lines);
        return waitUntil([&] { return g.resultText().find(answerHas) != std::string::npos; }, 10s);
    };

    ASSERT_TRUE(ask("all", "players ^3in ^3this ^3list")) << g.resultText() << p.program.output();
    const std::string all = g.resultText();
    EXPECT_EQ(count(all, "^3 ^3- ^3"), 16u) << all; // one line per player
    // The thief may already be recorded from this very dump; the player's own
    // GUID never is.
    EXPECT_NE(all.find("^7Me^3 ^3- ^3no ^3record"), std::string::npos) << all;
    ASSERT_TRUE(ask("check", "suspect")) << g.resultText();
    EXPECT_NE(g.resultText().find("GUID ^322222222"), std::string::npos) << g.resultText();
    ASSERT_TRUE(ask("seen ^1SHARED", "2 ^3GUIDs")) << g.resultText();

    // One warning for the thief, however many dumps show him; the player's
    // own GUID learned and never recorded.
    const std::string console = p.program.output();
    EXPECT_EQ(count(console, "Name thief? 'victim' (GUID 99999999)"), 1u) << console;
    EXPECT_NE(console.find("Your own GUID is 44444444"), std::string::npos) << console;
    p.program.signal(SIGTERM);
    EXPECT_EQ(p.program.waitForExit(10s), 0);
}
