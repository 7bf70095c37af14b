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

TEST(RecordCommands, SeenAsksByNameAndListsEachGuid) {
    RecordRig rig;
    rig.run("seen Big Bob;1");
    ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
    EXPECT_EQ(rig.fp.pages.requests[0].url, "http://127.0.0.1:27995/seen?name=big%20bob%3B1");
    rig.fp.pages.answer(fetched("seen\tguid=bbbbbbbb\tname=Thief\tuses=5\tlast_seen=2026-12-05\n"
                                "seen\tguid=aaaaaaaa\tname=Bob\tuses=1\tlast_seen=2026-12-04\n"));
    EXPECT_EQ(rig.message(), "'^7big ^7bob;1^3' was used by 2 GUIDs (most used name, last seen "
                             "first):\\n\\t^7Thief^3 - GUID bbbbbbbb, 5 uses, last seen 2026-12-05"
                             "\\n\\t^7Bob^3 - GUID aaaaaaaa, 1 use, last seen 2026-12-04");
    // No GUID wore it: the renames are asked next.
    rig.run("seen zed");
    rig.fp.pages.answer(fetched(""));
    ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
    EXPECT_EQ(rig.fp.pages.requests[0].url, "http://127.0.0.1:27995/links?name=zed");
    rig.fp.pages.answer(fetched(""));
    EXPECT_EQ(rig.message(), "Nobody in the alias database has used '^7zed^3'.");
    EXPECT_EQ(rig.lastSound(), "default.wav");
}

// Without a PunkBuster list, "all" lists who the console showed on this
// server, with the names their renames link them to.
TEST(RecordCommands, AllWithoutPunkBusterListsTheConsolesPlayers) {
    RecordRig rig;
    rig.folder.writeDump({"no list"});
    rig.state.namesOnServer = {"^1Bra^7vo", "Sarge"};
    rig.interpreter.processFile("all"); // not run(): it refuses links
    EXPECT_EQ(rig.script(), renderResultScript("Looking up the renames of 2 players. . ."));
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
    // A list of 20 players: 16 lines, then the rest; a second "more" is no repeat.
    std::vector<std::pair<std::string, std::string>> twenty;
    std::string records;
    for (int i = 0; i < 20; ++i) {
        char guid[9];
        std::snprintf(guid, sizeof guid, "%08d", i);
        twenty.emplace_back(guid, "P" + std::to_string(i));
        records += "player\tguid=" + std::string(guid) + "\taliases=0\n";
    }
    rig.folder.writeDump(GameFolder::playerList(twenty));
    rig.run("all");
    rig.fp.pages.answerPost(fetched(records));
    EXPECT_TRUE(
        rig.message().ends_with("^7P15^3 - no record {page 1/2: '/hh more' shows the next}"));
    rig.run("more");
    EXPECT_TRUE(rig.message().ends_with("\\t^7P19^3 - no record {page 2/2, the last}"));
}

} // namespace
} // namespace hh::test
