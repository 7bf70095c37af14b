#include "gamelink/CommandPickup.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

// Only a line the player typed counts: the engine echoes it as "]" and the
// text. Chat, player names and server prints hold "/hh " too.
TEST(Pickup, TakesTheLastCommandThePlayerTyped) {
    const std::string pbList = "PunkBuster Client: 1  1a2b3c4d(VALID) 1.2.3.4   Eve/hh quit\n";
    const std::pair<std::string, std::string> cases[] = {
        {"]/hh time\nchat\n]/hh guid 1a2b3c4d\nDumped.\n", "guid 1a2b3c4d"},
        {"]/hh save meet  at flag\r\nx\r\n", "save meet  at flag"},
        {"]/HH time\n", "No_Command_Found"},
        {"]/hh copy a'/hhb\n", "copy ab"},
        {"", "empty"},
        {std::string("\0\xff\n]/hh ti\0me\r\n", 15), std::string("ti\0me", 5)},
        {"]/hh a\rb\n", "ab"},
        // Other players' text after the player's own command.
        {"]/hh time\nEve: /hh disable\n", "time"},
        {"]/hh pb 1\n" + pbList, "pb 1"},
        {"]/hh time\nEve: ]/hh quit\n", "time"},
        {"]/hh time\n]say /hh quit\n", "time"}, // typed, but chat
        // ... and the player's command after theirs.
        {"Eve: /hh disable\n" + pbList + "]/hh hb\n", "hb"},
        // The engine runs a line typed with a backslash as it runs one with a slash.
        {"]/hh time\n]\\hh hb\n", "hb"},
    };
    for (const auto& [dump, command] : cases)
        EXPECT_EQ(findCommandInText(dump, "/hh "), command) << dump;
}

// The scan works on blocks from the end: the command must be found wherever
// it stands relative to a block, also among bytes that start the pattern.
TEST(Pickup, FindsTheLastCommandAtEveryPlaceOfALongDump) {
    for (char filler : {'x', '\n', ']', '/'}) {
        for (std::size_t at = 0; at + 8 <= 300; ++at) {
            std::string dump(300, filler);
            if (at >= 20)
                dump.replace(at / 2, 10, "\n]/hh old\n");
            dump.replace(at, 8, "\n]/hh c\n");
            ASSERT_EQ(findCommandInText(dump, "/hh "), "c") << filler << at;
        }
        EXPECT_EQ(findCommandInText(std::string(300, filler), "/hh "), "No_Command_Found");
        EXPECT_EQ(findCommandInText(std::string(294, filler) + "\n]/hh ", "/hh "), "");
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
