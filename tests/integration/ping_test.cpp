// Real ICMP echoes and name resolution. Loopback is pinged in the machine's
// own network; time-outs, missing routes, dead resolvers, the unprivileged
// socket and the missing permission are tried in a private network namespace,
// so no test sends traffic off the machine or asks its resolver.
//
// PingNamespace.* re-runs this binary under `unshare -n` for the PingNetns*
// cases, which skip themselves when run directly.
#include "platform/posix/IcmpPacket.h"
#include "platform/posix/PosixNet.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace std::chrono_literals;

namespace hh {
namespace {

constexpr const char* kPayload = "Echo This";

// ---- Packets

std::vector<std::uint8_t> ipHeader(std::size_t ihlWords = 5) {
    std::vector<std::uint8_t> h(ihlWords * 4, 0);
    h[0] = static_cast<std::uint8_t>(0x40 | ihlWords);
    return h;
}

std::vector<std::uint8_t> operator+(std::vector<std::uint8_t> a,
                                    const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::uint8_t> asReply(std::vector<std::uint8_t> request) {
    request[0] = 0;
    return request;
}

std::vector<std::uint8_t> icmpError(std::uint8_t type, std::uint8_t code,
                                    const std::vector<std::uint8_t>& request) {
    std::vector<std::uint8_t> head{type, code, 0, 0, 0, 0, 0, 0};
    return head + ipHeader() + std::vector<std::uint8_t>(request.begin(), request.begin() + 8);
}

TEST(IcmpPacket, ClassifiesWhatASocketReceives) {
    const auto mine = icmp::echoRequest(7, 3, kPayload);
    const auto otherId = icmp::echoRequest(8, 3, kPayload);
    const auto otherSeq = icmp::echoRequest(7, 4, kPayload);
    using K = icmp::Seen::Kind;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> packet;
        bool raw, checkId;
        K kind;
        std::string words;
    } cases[] = {
        {"raw reply", ipHeader() + asReply(mine), true, true, K::Reply, ""},
        {"raw reply after IP options", ipHeader(6) + asReply(mine), true, true, K::Reply, ""},
        {"own request seen on loopback", ipHeader() + mine, true, true, K::Unrelated, ""},
        {"another program's reply", ipHeader() + asReply(otherId), true, true, K::Unrelated, ""},
        {"a late reply to an earlier echo", ipHeader() + asReply(otherSeq), true, true,
         K::Unrelated, ""},
        {"datagram reply, id chosen by the kernel", asReply(otherId), false, false, K::Reply, ""},
        {"host unreachable about our echo", ipHeader() + icmpError(3, 1, mine), true, true,
         K::Error, "Destination Host Unreachable"},
        {"unreachable about someone else's echo", ipHeader() + icmpError(3, 1, otherId), true, true,
         K::Unrelated, ""},
        {"redirect is no failure", ipHeader() + icmpError(5, 1, mine), true, true, K::Unrelated,
         ""},
        {"truncated error", ipHeader() + std::vector<std::uint8_t>{3, 1, 0, 0, 0, 0, 0, 0, 0x45},
         true, true, K::Unrelated, ""},
        {"not IPv4", std::vector<std::uint8_t>(28, 0x60), true, true, K::Unrelated, ""},
        {"header length beyond the packet", std::vector<std::uint8_t>{0x4F, 0, 0, 0} + mine, true,
         true, K::Unrelated, ""},
        {"empty", {}, false, false, K::Unrelated, ""},
    };
    for (const auto& c : cases) {
        const auto seen = icmp::classify(c.packet.data(), c.packet.size(), c.raw, c.checkId, 7, 3);
        EXPECT_EQ(seen.kind, c.kind) << c.what;
        EXPECT_EQ(seen.words, c.words) << c.what;
    }
}

// ---- This machine: loopback and names that need no resolver

TEST(PosixIcmpEcho, LoopbackAnswersEveryEchoQuickly) {
    PosixIcmpEcho icmp;
    for (int i = 0; i < 5; ++i) {
        const EchoOutcome o = icmp.echo("127.0.0.1", kPayload, 200);
        if (o.kind == EchoOutcome::NoSocket)
            GTEST_SKIP() << "no ICMP socket for this user here: " << o.detail;
        ASSERT_EQ(o.kind, EchoOutcome::Reply) << o.detail;
        EXPECT_GE(o.roundTripMs, 0);
        EXPECT_LT(o.roundTripMs, 200);
    }
}

TEST(PosixNet, MalformedAddressesAndNamesNeedNoNetwork) {
    for (const char* bad : {"", "-1", "10.0.0", "300.1.1.1", "127.0.0.1 "}) {
        const EchoOutcome o = PosixIcmpEcho().echo(bad, kPayload, 200);
        EXPECT_EQ(o.kind, EchoOutcome::Failed) << bad;
        EXPECT_EQ(o.detail, "Invalid Address") << bad;
    }
    const std::pair<std::string, std::string> names[] = {
        {"10.1.2.3", "10.1.2.3"}, {"", "-1"}, {std::string("127.0.0.1\0evil.example", 22), "-1"}};
    for (const auto& [name, ip] : names)
        EXPECT_EQ(PosixHostResolver().resolveIPv4(name), ip) << name;
}

// ---- The private network namespace

std::string stage() {
    const char* s = std::getenv("HH_PING_NETNS");
    return s ? s : "";
}

#define REQUIRE_STAGE(name)                                                                        \
    if (stage() != name)                                                                           \
    GTEST_SKIP() << "runs inside a private network namespace, started by PingNamespace.*"

void writeSysctl(const std::string& path, const std::string& value) {
    std::ofstream out("/proc/sys/net/ipv4/" + path);
    out << value;
    ASSERT_TRUE(out.flush()) << path;
}

bool echoesIgnored() {
    std::ifstream in("/proc/sys/net/ipv4/icmp_echo_ignore_all");
    int value = 0;
    in >> value;
    return value != 0;
}

// No route, a host that stays silent past our own request on loopback, and
// names from the hosts file only.
TEST(PingNetnsRoot, FailuresInWordsAndNamesWithoutAResolver) {
    REQUIRE_STAGE("root");
    const EchoOutcome noRoute = PosixIcmpEcho().echo("10.255.255.1", kPayload, 200);
    EXPECT_EQ(noRoute.kind, EchoOutcome::Failed);
    EXPECT_EQ(noRoute.detail, "Destination Net Unreachable");
    writeSysctl("icmp_echo_ignore_all", "1");
    const EchoOutcome silent = PosixIcmpEcho().echo("127.0.0.1", kPayload, 200);
    writeSysctl("icmp_echo_ignore_all", "0");
    EXPECT_EQ(silent.kind, EchoOutcome::TimedOut) << silent.detail;
    EXPECT_EQ(PosixHostResolver().resolveIPv4("localhost"), "127.0.0.1");
    EXPECT_EQ(PosixHostResolver().resolveIPv4("no-such-host.invalid"), "-1");
}

TEST(PingNetnsUser, WithoutPermissionTheAdviceSaysHowToAllowIt) {
    REQUIRE_STAGE("user");
    const EchoOutcome o = PosixIcmpEcho().echo("127.0.0.1", kPayload, 200);
    ASSERT_EQ(o.kind, EchoOutcome::NoSocket) << o.detail;
    EXPECT_NE(o.detail.find("ping_group_range"), std::string::npos) << o.detail;
    EXPECT_NE(o.detail.find("setcap cap_net_raw+ep /"), std::string::npos) << o.detail;
    EXPECT_EQ(o.detail.find_first_of(";\""), std::string::npos) << "unsafe for the game console";
}

TEST(PingNetnsDatagram, UnprivilegedSocketAnswersOrTimesOut) {
    REQUIRE_STAGE("datagram");
    PosixIcmpEcho icmp;
    const EchoOutcome o = icmp.echo("127.0.0.1", kPayload, 200);
    if (echoesIgnored()) {
        EXPECT_EQ(o.kind, EchoOutcome::TimedOut) << o.detail;
    } else {
        EXPECT_EQ(o.kind, EchoOutcome::Reply) << o.detail;
        EXPECT_LT(o.roundTripMs, 200);
    }
    const EchoOutcome noRoute = icmp.echo("10.255.255.1", kPayload, 200);
    EXPECT_EQ(noRoute.kind, EchoOutcome::Failed);
    EXPECT_EQ(noRoute.detail, "Destination Net Unreachable");
}

std::string selfPath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

// Root inside the namespace, then nobody without and with ping_group_range
// opened, with echoes answered and ignored.
TEST(PingNamespace, AllStagesPassInAPrivateNetwork) {
    if (!stage().empty())
        GTEST_SKIP() << "already inside the namespace";
    {
        test::Process probe("/usr/bin/unshare", {"-n", "true"});
        if (probe.waitForExit(10s) != 0)
            GTEST_SKIP() << "unshare -n is not permitted here: " << probe.errors();
    }
    const std::string script = R"(
        set -e
        ip link set lo up
        HH_PING_NETNS=root "$0" --gtest_filter='PingNetnsRoot.*'
        nobody="setpriv --reuid=65534 --regid=65534 --clear-groups"
        HH_PING_NETNS=user $nobody "$0" --gtest_filter='PingNetnsUser.*'
        echo '0 2147483647' > /proc/sys/net/ipv4/ping_group_range
        HH_PING_NETNS=datagram $nobody "$0" --gtest_filter='PingNetnsDatagram.*'
        echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all
        HH_PING_NETNS=datagram $nobody "$0" --gtest_filter='PingNetnsDatagram.*'
    )";
    test::Process run("/usr/bin/unshare", {"-n", "/bin/sh", "-c", script, selfPath()});
    ASSERT_EQ(run.waitForExit(60s), 0) << run.output() << run.errors();
    const std::string out = run.output();
    EXPECT_EQ(out.find("SKIPPED"), std::string::npos) << out;
    EXPECT_EQ(test::occurrences(out, "[  PASSED  ]"), 4u) << out;
}

} // namespace
} // namespace hh
