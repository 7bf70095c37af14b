#include "gamelink/CommandPickup.h"
#include "fakes/FakePlatform.h"
#include "gamelink/DumpPaths.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

using test::TempDir;

struct PickupCase {
    const char* name;
    std::string dump;
    std::string expected;
};

class Pickup : public testing::TestWithParam<PickupCase> {};

TEST_P(Pickup, TakesTheTextAfterTheLastPrefix) {
    EXPECT_EQ(findCommandInText(GetParam().dump, "/hh "), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Pickup,
    testing::Values(
        PickupCase{"LastCommandWins", "]/hh time\nchat\n]/hh guid 1a2b3c4d\nDumped.\n",
                   "guid 1a2b3c4d"},
        PickupCase{"CrLfEndKeepsInnerBlanks", "]/hh save meet  at flag\r\nx\r\n",
                   "save meet  at flag"},
        PickupCase{"LastLineWithoutLineEnd", "x\n]/hh ping 127.0.0.1", "ping 127.0.0.1"},
        PickupCase{"PrefixTwiceOnALine", "]/hh say /hh ping\n", "ping"},
        PickupCase{"LineEndsRightAfterPrefix", "]/hh \nmore\n", ""},
        PickupCase{"NotTrimmedNorLowered", "]/hh  Guid ABC \n", " Guid ABC "},
        PickupCase{"CapitalPrefixIsNoCommand", "]/HH time\n", "No_Command_Found"},
        PickupCase{"QuotedMentionIgnored", "]/hh time\nType '/hh help' to see the commands\n",
                   "time"},
        PickupCase{"OnlyQuotedMentions", "Type '/hh help'\nor '/hh mod'\n", "No_Command_Found"},
        // Whether a command exists is decided before quoted mentions go: a
        // prefix that the removal joins together does not count on its own...
        PickupCase{"JoinedByRemovalAlone", "x /h'/hhh time\n", "No_Command_Found"},
        // ...but once a real prefix exists, the cleaned text decides.
        PickupCase{"JoinedByRemovalAfterRealOne", "]/hh time\nx /h'/hhh ping\n", "ping"},
        PickupCase{"EmptyDump", "", "empty"},
        PickupCase{"BinaryBytesKept", std::string("\0\xff]/hh ti\0me\r\n", 14),
                   std::string("ti\0me", 5)},
        PickupCase{"LoneCrInsideLineRemoved", "]/hh a\rb\n", "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

// The scan works on blocks from the end: the command must be found wherever
// it stands relative to a block, also among bytes that start the prefix.
TEST(PickupScan, FindsTheLastCommandAtEveryPlaceOfALongDump) {
    for (char filler : {'x', '/', 'h'}) {
        for (std::size_t at = 0; at + 6 <= 300; ++at) {
            std::string dump(300, filler);
            if (at >= 16)
                dump.replace(at / 2, 8, "/hh old\n");
            dump.replace(at, 6, "/hh c\n");
            ASSERT_EQ(findCommandInText(dump, "/hh "), "c") << filler << at;
        }
        EXPECT_EQ(findCommandInText(std::string(300, filler), "/hh "), "No_Command_Found");
        EXPECT_EQ(findCommandInText(std::string(296, filler) + "/hh ", "/hh "), "");
    }
}

TEST(PickupFile, MissingDumpIsCreatedEmpty) {
    TempDir dir;
    const auto dump = dir / "handleHound.who";
    EXPECT_EQ(findCommandInDump(dump, "/hh "), "empty");
    EXPECT_TRUE(std::filesystem::exists(dump));
}

TEST(PickupFile, ReadsTheCommandFromTheFile) {
    TempDir dir;
    const auto dump = dir / "handleHound.who";
    test::writeFile(dump, "]/hh mod osp\nDumped console text to handleHound.who.\n\n");
    EXPECT_EQ(findCommandInDump(dump, "/hh "), "mod osp");
}

TEST(PickupFile, MissingFolderAnswersEmpty) {
    TempDir dir;
    EXPECT_EQ(findCommandInDump(dir / "nomod" / "handleHound.who", "/hh "), "empty");
}

TEST(PickupFile, LargeDumpIsReadOnlyInItsLastPart) {
    TempDir dir;
    const auto dump = dir / "handleHound.who";
    test::writeFile(dump, "]/hh old\n" + std::string(100, 'x') + "\n]/hh new\n");
    EXPECT_EQ(readDumpSettled(dump, 9), "]/hh new\n");
    EXPECT_EQ(readDumpSettled(dump).size(), 9 + 101 + 9u);
    EXPECT_EQ(readDumpSettled(dir / "missing"), "");
}

struct PathCase {
    std::string dump, modFolder, gameFolder, mod;
};

TEST(DumpPaths, CutAtSlashes) {
    const PathCase cases[] = {
        {"/home/p/.q3a/osp/handleHound.who", "/home/p/.q3a/osp", "/home/p/.q3a/", "osp"},
        {"/q3/baseq3/handleHound.txt", "/q3/baseq3", "/q3/", "baseq3"},
        {"/handleHound.who", "", "", ""},
        {"handleHound.who", "", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dump);
        EXPECT_EQ(modFolderPath(c.dump), c.modFolder);
        EXPECT_EQ(gameFolderPath(c.dump), c.gameFolder);
        EXPECT_EQ(currentModOf(c.dump), c.mod);
    }
}

} // namespace
} // namespace hh
