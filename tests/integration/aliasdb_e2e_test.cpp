// The chief command on a machine with nothing else set up: the headless
// program and the shipped alias database on loopback. Players seen in earlier
// dumps are remembered, and a later "/hh <name>" lists every name they used.
#include "support/GameFolder.h"
#include "support/Process.h"

#include <arpa/inet.h>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using hh::test::GameFolder;
using hh::test::Process;
using hh::test::waitUntil;

namespace {

bool answersOn(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return connected;
}

int freeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

std::string aliasDbBinary() {
    return (std::filesystem::path(HH_BINARY).parent_path() / "handlehound-aliasdb").string();
}

} // namespace

TEST(AliasDatabaseEndToEnd, NamesSeenInEarlierDumpsAreListed) {
    GameFolder g;
    const int port = freeLoopbackPort();
    const std::string listen = "127.0.0.1:" + std::to_string(port);
    Process db(aliasDbBinary(),
               {"--listen", listen, "--db", (g.program() / "aliases.sqlite").string()});
    // The first dump's players are posted once; the service must be up by then.
    ASSERT_TRUE(waitUntil([&] { return answersOn(port); }, 10s)) << db.errors();
    Process program(HH_BINARY,
                    {"--headless", "--always-on", "--quiet", "--program-dir", g.program().string(),
                     "--lookup-url", "http://" + listen},
                    {"DISPLAY="});
    ASSERT_TRUE(waitUntil([&] { return g.resultText().find("ENABLED") != std::string::npos; }, 10s))
        << program.errors();

    // Two games: the same GUID under two names; another player once.
    auto first = GameFolder::playerList({{"1a2b3c4d", "Old Name"}, {"5e6f7a8b", "Bystander"}});
    first.push_back("]/hh hb");
    g.writeDump(first);
    ASSERT_TRUE(waitUntil([&] { return g.resultText().find("ACTIVE") != std::string::npos; }, 10s));
    auto second = GameFolder::playerList({{"1a2b3c4d", "NewName"}});
    second.push_back("]/hh time");
    g.writeDump(second);
    ASSERT_TRUE(waitUntil(
        [&] {
            return g.resultText().find("ACTIVE") == std::string::npos &&
                   g.resultText().find("Updating") == std::string::npos;
        },
        10s));

    // Recording runs in the background; ask until both names are there.
    std::string script;
    bool listed = false;
    for (int attempt = 0; attempt < 20 && !listed; ++attempt) {
        auto lookup = GameFolder::playerList({{"1a2b3c4d", "NewName"}});
        lookup.push_back(attempt % 2 ? "]/hh newname" : "]/hh NewName");
        g.writeDump(lookup);
        waitUntil(
            [&] {
                return g.resultText().find("^3= ^3") != std::string::npos ||
                       g.resultText().find("No ^3Aliases") != std::string::npos;
            },
            10s);
        script = g.resultText();
        listed = script.find("^7NewName") != std::string::npos &&
                 script.find("Old") != std::string::npos;
        if (!listed)
            std::this_thread::sleep_for(200ms);
    }
    EXPECT_TRUE(listed) << script << "\n" << program.output();
    EXPECT_NE(script.find("echo ^32, "), std::string::npos) << script; // the count prefix
    EXPECT_EQ(script.find("Bystander"), std::string::npos) << script;

    program.signal(SIGTERM);
    EXPECT_EQ(program.waitForExit(10s), 0);
    db.signal(SIGTERM);
    EXPECT_EQ(db.waitForExit(10s), 0);
}
