#include "gamelink/ResultScript.h"
#include "GameLinkRig.h"

#include <gtest/gtest.h>

#include <random>

namespace hh {
namespace {

struct RenderCase {
    const char* name;
    std::string message;
    std::string file;
};

class Render : public testing::TestWithParam<RenderCase> {};

TEST_P(Render, WritesTheseBytes) {
    EXPECT_EQ(renderResultScript(GetParam().message), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Conventions, Render,
    testing::Values(
        RenderCase{"WorkedExample",
                   "issueDelay set to '2'. {Re-exec handleHound.cfg for changes to take effect}",
                   "echo ^3issueDelay ^3set ^3to ^3'2'.\r\n"
                   "echo ^3 ^3 ^3^3- ^3{Re-exec ^3handleHound.cfg ^3for ^3changes ^3to ^3take "
                   "^3effect}\r\n"},
        RenderCase{"EmptyIsWaiting", "", "echo ^3Waiting ^3for ^3Command. ^3. ^3.\r\n"},
        RenderCase{"ScriptCallIsWaiting", "vstr runHHScript",
                   "echo ^3Waiting ^3for ^3Command. ^3. ^3.\r\n"},
        RenderCase{"SemicolonBecomesColon", "a;b", "echo ^3a:b\r\n"},
        RenderCase{"BackslashNSplitsKeepingTheBlank", "one \\ntwo",
                   "echo ^3one ^3\r\necho ^3two\r\n"},
        RenderCase{"BackslashTIsFourBlanks", "a\\tb", "echo ^3a ^3 ^3 ^3 ^3b\r\n"},
        RenderCase{"ColourCodesUnchanged", "^7name^2sep", "echo ^3^7name^2sep\r\n"},
        RenderCase{"DoubleQuoteBecomesSingle", "say \"hi\"", "echo ^3say ^3'hi'\r\n"},
        RenderCase{"LineCommentBroken", "http://x", "echo ^3http:/^3/x\r\n"},
        RenderCase{"BlockCommentBroken", "a/*/b", "echo ^3a/^3*/b\r\n"},
        RenderCase{"RunOfSlashesBroken", "///", "echo ^3/^3/^3/\r\n"},
        RenderCase{"RawLineBreaksAndTabAreBlanks", "a\r\nb\tc", "echo ^3a ^3 ^3b ^3c\r\n"},
        RenderCase{"OtherControlBytesAreQuestionMarks", std::string("a\0b\x1b\x7f", 5),
                   "echo ^3a?b??\r\n"},
        RenderCase{"Utf8Transliterated",
                   "Ren\xC3\xA9 Stra\xC3\x9F"
                   "e \xE2\x80\x9Cq\xE2\x80\x9D",
                   "echo ^3Rene ^3Strasse ^3'q'\r\n"},
        RenderCase{"Latin1Transliterated", "Ren\xE9 \xC6 \x93q\x94", "echo ^3Rene ^3AE ^3'q'\r\n"},
        RenderCase{"UnknownHighBytesAreQuestionMarks", "x\xF0\x9F\x98\x80y\x81z",
                   "echo ^3x?y?z\r\n"},
        RenderCase{"NewLineBeforeBraceStillAnEchoLine", "a\\n{b}",
                   "echo ^3a\r\necho \r\necho ^3 ^3 ^3^3- ^3{b}\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What the game's command buffer needs of any file we write.
void expectHarmless(const std::string& file) {
    ASSERT_LT(file.size(), 16u * 1024);
    ASSERT_GE(file.size(), 2u);
    ASSERT_EQ(file.substr(file.size() - 2), "\r\n");
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = file.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = file.substr(start, end - start);
        SCOPED_TRACE(line.substr(0, 60));
        EXPECT_EQ(line.substr(0, 5), "echo ");
        EXPECT_LE(line.size(), 1020u);
        for (unsigned char c : line)
            ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << int(c);
        EXPECT_EQ(line.find_first_of(";\""), std::string::npos);
        EXPECT_EQ(line.find("//"), std::string::npos);
        EXPECT_EQ(line.find("/*"), std::string::npos);
        start = end + 2;
    }
}

// The text of the file with line starts and colour codes taken out, so that
// what the player reads can be compared with the message.
std::string shownWords(const std::string& file) {
    std::string words;
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = file.find("\r\n", start);
        std::string line = file.substr(start + 5, end - start - 5);
        for (std::size_t at; (at = line.find("^3")) != std::string::npos;)
            line.erase(at, 2);
        words += line + " ";
        start = end + 2;
    }
    return words;
}

TEST(RenderSafety, LongLineContinuesAtABlankWithoutLosingText) {
    std::string message;
    for (int i = 0; i < 400; ++i)
        message += "word" + std::to_string(i) + " ";
    const std::string file = renderResultScript(message);
    expectHarmless(file);
    EXPECT_GT(std::count(file.begin(), file.end(), '\n'), 2);
    const std::string normalised = " " + shownWords(file);
    // Lines end at a blank; the break replaces it.
    for (int i = 0; i < 400; ++i)
        EXPECT_NE(normalised.find(" word" + std::to_string(i) + " "), std::string::npos) << i;
}

TEST(RenderSafety, LineWithoutBlanksIsCutHardAndKeepsEveryByte) {
    const std::string message(5000, 'x');
    const std::string file = renderResultScript(message);
    expectHarmless(file);
    std::string rejoined = shownWords(file);
    rejoined.erase(std::remove(rejoined.begin(), rejoined.end(), ' '), rejoined.end());
    EXPECT_EQ(rejoined, message);
}

TEST(RenderSafety, HugeMessageIsCutVisiblyUnder16KiB) {
    std::string message;
    for (int i = 0; i < 20000; ++i)
        message += "alias" + std::to_string(i) + (i % 7 ? " " : "\\n");
    const std::string file = renderResultScript(message);
    expectHarmless(file);
    EXPECT_GT(file.size(), 14u * 1024); // cut late, not early
    EXPECT_EQ(file.substr(file.size() - 5), "...\r\n");
    EXPECT_EQ(file.rfind("echo ^3alias0\r\necho ^3alias1 ^3alias2 ", 0), 0u);
}

TEST(RenderSafety, AnyBytesGiveHarmlessEchoLines) {
    std::mt19937 random(20261205);
    const std::string nasty = ";\"/\\*{}nt \r\n\t\x01\x7f\xc3\xa9\xe2\x80\x9c\xff^3";
    for (int round = 0; round < 300; ++round) {
        std::string message;
        const int length = round < 250 ? int(random() % 200) : int(random() % 70000);
        for (int i = 0; i < length; ++i)
            message += (random() % 2) ? nasty[random() % nasty.size()] : char(random() % 256);
        if (message == "none")
            continue;
        SCOPED_TRACE(round);
        expectHarmless(renderResultScript(message));
    }
}

class Writer : public testing::Test {
  protected:
    test::GameLinkRig rig;
};

TEST_F(Writer, ReplacesTheScriptInTheBaseFolder) {
    EXPECT_EQ(rig.writer.resultScriptPath(), rig.folder.resultScript());
    EXPECT_TRUE(rig.writer.writeResultScript("first"));
    EXPECT_TRUE(rig.writer.writeResultScript("second"));
    EXPECT_EQ(rig.script(), "echo ^3second\r\n");
    EXPECT_TRUE(rig.errors.empty());
}

TEST_F(Writer, NoneLeavesTheScriptAlone) {
    rig.writer.writeResultScript("kept");
    EXPECT_TRUE(rig.writer.writeResultScript("none"));
    EXPECT_EQ(rig.script(), "echo ^3kept\r\n");
}

TEST_F(Writer, ReportsAScriptThatCannotBeWritten) {
    std::filesystem::remove_all(rig.folder.game() / "baseq3");
    EXPECT_FALSE(rig.writer.writeResultScript("lost"));
    ASSERT_EQ(rig.errors.size(), 1u);
    EXPECT_EQ(rig.errors[0].rfind("Error! The result script could not be written: ", 0), 0u);

    rig.state.gDumpFileAbsPath.clear(); // no game folder: nothing lands in the current folder
    EXPECT_FALSE(rig.writer.writeResultScript("lost"));
    EXPECT_EQ(rig.errors.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists("baseq3/hh.cfg"));
}

} // namespace
} // namespace hh
