// all, seen, check and more: what each asks the alias database, how its
// answer reads in the game, and what the player hears when there is none.
#include "InterpreterRig.h"

#include "support/AliasPages.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

// The interpreter with its alias database at a known address.
struct RecordRig : InterpreterRig {
    RecordRig() { lookup.setLookupUrlOverride("http://127.0.0.1:27995"); }
};

const std::vector<std::pair<std::string, std::string>> kTwo = {{"AAAAAAAA", "Bo b"},
                                                               {"bbbbbbbb", "^1Newbie"}};

TEST(RecordCommands, AllAnswersForTheWholeList) {
    RecordRig rig;
    rig.folder.writeDump(GameFolder::playerList(kTwo));
    rig.run("all");
    EXPECT_EQ(rig.script(), renderResultScript("Looking up all 2 players. . ."));
    ASSERT_EQ(rig.fp.pages.posts.size(), 1u);
    const std::string records =
        "player\tguid=aaaaaaaa\taliases=3\tfirst_seen=2026-11-01\tother_name=Robert\t"
        "other_uses=12\nplayer\tguid=bbbbbbbb\taliases=0\n";
    rig.fp.pages.answerPost(fetched(records));
    EXPECT_EQ(rig.message(), "2 players in this list:"
                             "\\n\\t^7Bo ^7b^3 - 3 aliases, most used ^7Robert^3(12), first seen "
                             "2026-11-01\\n\\t^7^1Newbie^3 - no record");
    EXPECT_EQ(rig.lastSound(), "default.wav");
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
}

// Without a PunkBuster list, "all" lists who the console showed on this
// server, with the names their renames link them to.
TEST(RecordCommands, AllWithoutPunkBusterListsTheConsolesPlayers) {
    RecordRig rig;
    rig.folder.writeDump({"no list"});
    rig.state.namesOnServer = {"^1Bra^7vo", "Sarge"};
    rig.interpreter.processFile("all"); // not run(): it refuses links
    ASSERT_EQ(rig.fp.pages.requests.size(), 2u);
    EXPECT_EQ(rig.fp.pages.requests[0].url, "http://127.0.0.1:27995/links?name=%5E1Bra%5E7vo");
    std::string five;
    for (const char* name : {"A", "B", "C", "D", "E"})
        five += "link\tname=" + std::string(name) + "\tat=1764943200\n";
    rig.fp.pages.answer(fetched(five));
    rig.fp.pages.answer(fetched(""));
    EXPECT_EQ(rig.message(), "2 players on this server, names from renames newest first:"
                             "\\n\\t^7^1Bra^7vo^3 - was ^7A^3, ^7B^3, ^7C^3, ^7D^3, ..."
                             "\\n\\t^7Sarge^3 - no renames seen");
}

TEST(RecordCommands, WithoutAnAnswerThePlayerIsToldWhy) {
    const struct {
        std::string line;
        std::optional<FetchResult> answer;
        std::string says;
    } cases[] = {
        {"check", unreached(), "Check your Internet Connectivity"},
        {"all", fetched("<h1>Not Found</h1>", 404), "it answered with HTTP 404."},
        {"all", fetched("player\tguid=aaaaaaaa\taliases=1\n"), // a player missing
         "it gave an answer Handlehound cannot read."},
        {"seen ^1^2", {}, "Error! A name is 1 to 64 characters, more than colour codes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        RecordRig rig;
        rig.folder.writeDump(GameFolder::playerList(kTwo));
        rig.run(c.line);
        if (c.answer)
            rig.fp.pages.answerPost(*c.answer);
        EXPECT_NE(rig.message().find(c.says), std::string::npos) << rig.message();
        EXPECT_EQ(rig.lastSound(), "close.wav");
        EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    }
}

TEST(RecordCommands, MoreWalksEveryPageThenSaysSo) {
    RecordRig rig;
    rig.run("more");
    EXPECT_TRUE(rig.message().starts_with("Error! There is no long answer to page through."));
    // An alias list past numAliases.
    rig.state.numAliases = 150;
    rig.run("guid 1a2b3c4d");
    rig.fp.pages.answer(
        fetched(aliasPage(numberedNames(200)), 200, "http://127.0.0.1:27995/?guid=1a2b3c4d"));
    EXPECT_TRUE(rig.message().ends_with(" {page 1/2: '/hh more' shows the next}"));
    const std::vector<std::string> walk = {"page 2/2, GUID# '1a2b3c4d' = ^7Player150^2, ",
                                           "No more pages: page 2/2 was the last.",
                                           "No more pages: page 2/2 was the last."};
    for (const auto& expected : walk) {
        rig.run("more");
        EXPECT_TRUE(rig.message().starts_with(expected)) << rig.message();
        // A page goes to the clipboard as the list's first page did.
        EXPECT_TRUE(rig.fp.clipboard.text().starts_with("page 2/2, "));
    }
}

} // namespace
} // namespace hh::test
