#include "gamelink/CommandPickup.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

TEST(Pickup, TakesTheTextAfterTheLastPrefix) {
    const std::pair<std::string, std::string> cases[] = {
        {"]/hh time\nchat\n]/hh guid 1a2b3c4d\nDumped.\n", "guid 1a2b3c4d"},
        {"]/hh save meet  at flag\r\nx\r\n", "save meet  at flag"},
        {"x\n]/hh ping 127.0.0.1", "ping 127.0.0.1"}, // no line end
        {"]/hh say /hh ping\n", "ping"},
        {"]/hh \nmore\n", ""},
        {"]/hh  Guid ABC \n", " Guid ABC "}, // neither trimmed nor lowered
        {"]/HH time\n", "No_Command_Found"},
        {"]/hh time\nType '/hh help' to see the commands\n", "time"},
        {"Type '/hh help'\nor '/hh mod'\n", "No_Command_Found"},
        // A prefix that only the removal of a quoted mention joins together
        // does not count on its own; once a real one exists it does.
        {"x /h'/hhh time\n", "No_Command_Found"},
        {"]/hh time\nx /h'/hhh ping\n", "ping"},
        {"", "empty"},
        {std::string("\0\xff]/hh ti\0me\r\n", 14), std::string("ti\0me", 5)},
        {"]/hh a\rb\n", "ab"},
    };
    for (const auto& [dump, command] : cases)
        EXPECT_EQ(findCommandInText(dump, "/hh "), command) << dump;
}

// The scan works on blocks from the end: the command must be found wherever
// it stands relative to a block, also among bytes that start the prefix.
TEST(Pickup, FindsTheLastCommandAtEveryPlaceOfALongDump) {
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

TEST(Pickup, ReadsTheFileCreatingAMissingOne) {
    test::TempDir dir;
    const auto dump = dir / "handleHound.who";
    EXPECT_EQ(findCommandInDump(dump, "/hh "), "empty");
    EXPECT_TRUE(std::filesystem::exists(dump));
    EXPECT_EQ(findCommandInDump(dir / "nomod" / "handleHound.who", "/hh "), "empty");

    test::writeFile(dump, "]/hh old\n" + std::string(100, 'x') + "\n]/hh new\n");
    EXPECT_EQ(findCommandInDump(dump, "/hh "), "new");
    EXPECT_EQ(readDumpSettled(dump, 9), "]/hh new\n"); // a huge dump: only its end
}

} // namespace
} // namespace hh
