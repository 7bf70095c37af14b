#include "GameLinkRig.h"
#include "common/PathText.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

TEST(Render, ConventionsAndSafetyRules) {
    const std::pair<std::string, std::string> cases[] = {
        {"issueDelay set to '2'. {Re-exec handleHound.cfg for changes to take effect}",
         "echo ^3issueDelay ^3set ^3to ^3'2'.\r\n"
         "echo ^3 ^3 ^3^3- ^3{Re-exec ^3handleHound.cfg ^3for ^3changes ^3to ^3take ^3effect}\r\n"},
        {"", "echo ^3Waiting ^3for ^3Command. ^3. ^3.\r\n"},
        {"vstr runHHScript", "echo ^3Waiting ^3for ^3Command. ^3. ^3.\r\n"},
        {"one \\ntwo", "echo ^3one ^3\r\necho ^3two\r\n"},
        {"a\\tb;^7c", "echo ^3a ^3 ^3 ^3 ^3b:^7c\r\n"},
        {"say \"hi\"", "echo ^3say ^3'hi'\r\n"},
        {"http://x a/*/b ///", "echo ^3http:/^3/x ^3a/^3*/b ^3/^3/^3/\r\n"},
        {"a\r\nb\tc", "echo ^3a ^3 ^3b ^3c\r\n"},
        {std::string("a\0b\x1b\x7f", 5), "echo ^3a?b??\r\n"},
        {"Ren\xC3\xA9 Stra\xC3\x9F"
         "e \xE2\x80\x9Cq\xE2\x80\x9D",
         "echo ^3Rene ^3Strasse ^3'q'\r\n"},
        {"Ren\xE9 \xC6 \x93q\x94", "echo ^3Rene ^3AE ^3'q'\r\n"}, // Windows-1252
        {"x\xF0\x9F\x98\x80y\x81z", "echo ^3x?y?z\r\n"},
    };
    for (const auto& [message, file] : cases)
        EXPECT_EQ(renderResultScript(message), file) << message;
}

// What the game's command buffer needs of any file we write.
void expectHarmless(const std::string& file) {
    ASSERT_LT(file.size(), 16u * 1024);
    ASSERT_EQ(file.substr(file.size() - 2), "\r\n");
    for (std::size_t start = 0, end; start < file.size(); start = end + 2) {
        end = file.find("\r\n", start);
        const std::string line = file.substr(start, end - start);
        ASSERT_EQ(line.substr(0, 5), "echo ") << line;
        ASSERT_LE(line.size(), 1020u);
        for (unsigned char c : line)
            ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << int(c);
        ASSERT_EQ(line.find_first_of(";\""), std::string::npos) << line;
        ASSERT_EQ(line.find("//"), std::string::npos) << line;
        ASSERT_EQ(line.find("/*"), std::string::npos) << line;
    }
}

// What the player reads: the text without line starts and colour codes.
std::string shown(const std::string& file) {
    std::string text;
    for (std::size_t start = 0, end; start < file.size(); start = end + 2) {
        end = file.find("\r\n", start);
        text += " " + file.substr(start + 5, end - start - 5);
    }
    for (std::size_t at; (at = text.find("^3")) != std::string::npos;)
        text.erase(at, 2);
    return text;
}

TEST(Render, LongLinesContinueWithoutLosingText) {
    std::string words;
    for (int i = 0; i < 400; ++i)
        words += "word" + std::to_string(i) + " ";
    const std::string wrapped = renderResultScript(words);
    expectHarmless(wrapped);
    EXPECT_GT(std::count(wrapped.begin(), wrapped.end(), '\n'), 2);
    EXPECT_EQ(shown(wrapped), " " + words); // broken at blanks: each blank became a break

    const std::string solid(5000, 'x');
    std::string rejoined = shown(renderResultScript(solid)); // no blank: cut hard
    rejoined.erase(std::remove(rejoined.begin(), rejoined.end(), ' '), rejoined.end());
    EXPECT_EQ(rejoined, solid);

    // A hard cut never parts a colour code's '^' from its digit.
    const std::string coloured =
        renderResultScript(std::string(1012, 'x') + "^1" + std::string(100, 'y'));
    EXPECT_EQ(coloured.find("^\r\n"), std::string::npos) << coloured.substr(1000, 40);
}

TEST(Render, HugeMessageIsCutVisiblyUnder16KiB) {
    std::string message;
    for (int i = 0; i < 20000; ++i)
        message += "alias" + std::to_string(i) + (i % 7 ? " " : "\\n");
    const std::string file = renderResultScript(message);
    expectHarmless(file);
    EXPECT_GT(file.size(), 14u * 1024); // cut late, not early
    EXPECT_LE(file.size(), 15u * 1024);
    EXPECT_EQ(file.substr(file.size() - 5), "...\r\n");
    EXPECT_EQ(file.rfind("echo ^3alias0\r\necho ^3alias1 ^3alias2 ", 0), 0u);
}

TEST(Writer, ReplacesTheScriptOrSaysWhyNotOncePerLastingFailure) {
    test::GameLinkRig rig;
    EXPECT_TRUE(rig.writer.writeResultScript("first"));
    EXPECT_TRUE(rig.writer.writeResultScript("none")); // leaves the file as it is
    EXPECT_EQ(rig.script(), "echo ^3first\r\n");

    const auto baseq3 = rig.folder.game() / "baseq3";
    std::filesystem::remove_all(baseq3);
    EXPECT_FALSE(rig.writer.writeResultScript("lost"));
    EXPECT_FALSE(rig.writer.writeResultScript("lost again"));
    ASSERT_EQ(rig.errors.size(), 1u);
    EXPECT_EQ(rig.errors[0].rfind("Error! The result script could not be written: ", 0), 0u);

    std::filesystem::remove_all(rig.folder.game());
    EXPECT_FALSE(rig.writer.writeResultScript("lost"));
    EXPECT_FALSE(rig.writer.writeResultScript("lost"));
    ASSERT_EQ(rig.errors.size(), 2u);
    EXPECT_TRUE(rig.errors[1].starts_with("Error! The game folder '" +
                                          hh::textOf(rig.folder.game()) + "/' does not exist"));

    rig.state.gDumpFileAbsPath.clear(); // no game folder: nothing lands in the current folder
    EXPECT_FALSE(rig.writer.writeResultScript("lost"));
    EXPECT_EQ(rig.errors.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists("baseq3/hh.cfg"));
}

} // namespace
} // namespace hh
