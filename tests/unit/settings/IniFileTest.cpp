#include "settings/IniFile.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hh {
namespace {

using test::readFile;
using test::writeFile;

TEST(IniWrite, ByteResultOfEachRule) {
    const struct {
        const char* name;
        std::string before;
        const char *section, *key, *value;
        std::string after;
    } cases[] = {
        {"empty file", "", "Main", "NewUser", "No", "[Main]\r\nNewUser=No\r\n"},
        {"missing section goes to the end after one blank line", "[Main]\r\nA=1\r\n", "Behavior",
         "CommandKey", "tab", "[Main]\r\nA=1\r\n\r\n[Behavior]\r\nCommandKey=tab\r\n"},
        {"new key becomes the section's first line", "[Main]\r\nA=1\r\n\r\n[Behavior]\r\nX=1\r\n",
         "Behavior", "B", "2", "[Main]\r\nA=1\r\n\r\n[Behavior]\r\nB=2\r\nX=1\r\n"},
        {"names matched without case, key as the caller writes it",
         "[MAIN]\r\nmaxnumaliases=10\r\nZ=1\r\n", "main", "MaxNumAliases", "150",
         "[MAIN]\r\nMaxNumAliases=150\r\nZ=1\r\n"},
        {"last line without a line end", "[Main]\r\nA=1", "Main", "A", "2", "[Main]\r\nA=2\r\n"},
        {"lone LF", "[Main]\nA=1\nB=2\n", "Main", "B", "3", "[Main]\r\nA=1\r\nB=3\r\n"},
        {"longer key, same start", "[Main]\r\nPathX=1\r\n", "Main", "Path", "p",
         "[Main]\r\nPath=p\r\nPathX=1\r\n"},
        {"value byte for byte", "[Main]\r\n", "Main", "T", " a = \"b\"=c ",
         "[Main]\r\nT= a = \"b\"=c \r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iniWithKey(c.before, c.section, c.key, c.value), c.after) << c.name;
}

TEST(IniRead, FindsTheFirstMatchingKeyLine) {
    const struct {
        std::string content;
        const char *section, *key, *expected;
    } cases[] = {
        {"[Main]\r\nMaxNumAliases=Abc\r\n", "main", "maxnumaliases", "Abc"},
        {"[Main]\r\n A=1\r\n", "Main", "A", ""},
        {"[Main]\r\nA=x[y\r\nB=1\r\n", "Main", "A", ""}, // a line with [ is a section line
        {"[Main]\r\nA=1\r\n[Other]\r\nB=2\r\n[main]\r\nB=3", "Main", "B", "3"},
        {"[Main]\r\nA=1\r\nA=2\r\n", "Main", "A", "1"},
        {"[Main]\rA=1\rB=2", "Main", "B", "2"},
        {"[Main]\r\nA= x=y \r\n", "Main", "A", " x=y "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iniValue(c.content, c.section, c.key), c.expected) << c.content;
}

TEST(IniFile, CreatesAMissingFileAndWritesWholeFilesBeyond32KiB) {
    test::TempDir dir;
    const auto path = dir / "handleHound.ini";
    EXPECT_EQ(INIread(path, "Main", "Path"), "");
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    std::string filler;
    while (filler.size() < 40 * 1024)
        filler += "; a comment line that the reader ignores and the writer keeps\r\n";
    writeFile(path, filler + "[Main]\r\nA=1\r\n");
    ASSERT_TRUE(INIwrite(path, "Main", "B", "2"));
    ASSERT_TRUE(INIwrite(path, "Behavior", "C", "3"));
    EXPECT_EQ(readFile(path), filler + "[Main]\r\nB=2\r\nA=1\r\n\r\n[Behavior]\r\nC=3\r\n");
    EXPECT_EQ(INIread(path, "behavior", "c"), "3");

    // Past the 1 MiB bound, or a folder in the file's place: nothing is read.
    writeFile(path, "[Main]\r\nA=1\r\n" + std::string(1 << 20, ';'));
    EXPECT_EQ(INIread(path, "Main", "A"), "");
    std::filesystem::create_directory(dir / "folder.ini");
    EXPECT_EQ(INIread(dir / "folder.ini", "Main", "A"), "");
}

TEST(IniFile, RefusesLineBreaksAndLeavesTheFileAsItWas) {
    test::TempDir dir;
    const auto path = dir / "handleHound.ini";
    writeFile(path, "[Main]\r\nA=1\r\n");
    for (const char* value : {"x\r\n[Evil]", "x\ny", "x\rz"}) {
        std::string error;
        EXPECT_FALSE(INIwrite(path, "Main", "A", value, &error)) << value;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(INIwrite(path, "Main", "A\r\nB", "1"));
    EXPECT_EQ(readFile(path), "[Main]\r\nA=1\r\n");
}

} // namespace
} // namespace hh
