// Answers about player lists come from the network: what is read, what is
// refused, and the name-thief warning that is given once per case.
#include "lookup/NameThiefWatch.h"

#include "fakes/FakePlatform.h"
#include "platform/PageFetcher.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

TEST(RecordsReply, ReadsOursAndRefusesTheRest) {
    const RecordsReply good = readRecordsReply(test::fetched(
        "player\tguid=AAAAAAAA\taliases=3\tfirst_seen=2026-11-01\tother_name=Old\tother_uses=9\n"
        "namesake\tguid=aaaaaaaa\towner=bbbbbbbb\tname=Bob\tuses=40\tlast_seen=bad\r\n"
        "\n"
        "future_kind\tanything=goes\n"
        "seen\tguid=cccccccc\tname=Cy\tuses=2\tlast_seen=2026-12-04\n"));
    ASSERT_EQ(good.error, "");
    ASSERT_EQ(good.players.size(), 1u);
    EXPECT_EQ(good.players[0].guid, "aaaaaaaa");
    ASSERT_EQ(good.namesakes.size(), 1u);
    EXPECT_EQ(good.namesakes[0].lastSeen, ""); // a date that is none is dropped
    ASSERT_EQ(good.seen.size(), 1u);
    EXPECT_EQ(good.seen[0].lastSeen, "2026-12-04");

    const std::string unreadable = "gave an answer Handlehound cannot read";
    const struct {
        FetchResult fetched;
        std::string error;
    } bad[] = {
        {test::fetched("player\tguid=aaaa-aaa\taliases=1\n"), unreadable},
        {test::fetched("player\tguid=aaaaaaaa\taliases=1e3\n"), unreadable},
        {test::fetched("player\tguid=aaaaaaaa\taliases=9999999999999\n"), unreadable},
        {test::fetched("player\tguid=aaaaaaaa\n"), unreadable},
        {test::fetched("namesake\tguid=aaaaaaaa\towner=bbbbbbbb\tuses=1\n"), unreadable},
        {test::fetched([] {
             std::string many; // more lines than 64 players can have
             for (int i = 0; i < 64 * 24 + 1; ++i)
                 many += "seen\tguid=aaaaaaaa\tname=x\tuses=1\n";
             return many;
         }()),
         unreadable},
    };
    for (const auto& c : bad) {
        const RecordsReply r = readRecordsReply(c.fetched);
        EXPECT_EQ(r.error, c.error) << c.fetched.body.substr(0, 60);
        EXPECT_TRUE(r.players.empty() && r.namesakes.empty() && r.seen.empty());
    }
}

TEST(NameThiefWatch, EachCaseIsNamedOnce) {
    test::FakePlatform fp;
    RecordsClient client(fp.platform, [] { return std::string("http://127.0.0.1:27995"); });
    std::vector<std::string> console;
    NameThiefWatch watch(client, [&](const std::string& l) { console.push_back(l); });
    const std::vector<SightedPlayer> players = {{"1", "aaaaaaaa", "Bob"},
                                                {"2", "cccccccc", "UnnamedPlayer"}};
    const std::string two = "player\tguid=aaaaaaaa\taliases=1\nplayer\tguid=cccccccc\taliases=1\n";
    const std::string bobIsB =
        "namesake\tguid=aaaaaaaa\towner=bbbbbbbb\tname=bob\tuses=40\tlast_seen=2026-12-01\n";
    const struct {
        std::string reply;
        std::size_t lines; // console lines so far
    } dumps[] = {
        {two + bobIsB, 1},
        // a second owner of the name is a new case; a default name is none
        {two + bobIsB +
             "namesake\tguid=aaaaaaaa\towner=dddddddd\tname=BOB\tuses=3\n"
             "namesake\tguid=cccccccc\towner=eeeeeeee\tname=UnnamedPlayer\tuses=9\n",
         2},
        {"<html>", 3}, // not our database: said once, then no more asking
    };
    for (const auto& d : dumps) {
        watch.check(players);
        fp.pages.answerPost(test::fetched(d.reply));
        EXPECT_EQ(console.size(), d.lines) << d.reply;
    }
    watch.check(players);
    EXPECT_TRUE(fp.pages.pendingPosts.empty());
}

} // namespace
} // namespace hh
