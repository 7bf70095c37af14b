#include "settings/IniFile.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hh {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(IniWrite, ByteResultOfEachRule) {
    const WriteCase cases[] = {
        {"empty file gives header and key", "", "Main", "NewUser", "No",
         "[Main]\r\nNewUser=No\r\n"},
        {"missing section goes to the end after one blank line", "[Main]\r\nA=1\r\n", "Behavior",
         "CommandKey", "tab", "[Main]\r\nA=1\r\n\r\n[Behavior]\r\nCommandKey=tab\r\n"},
        {"new key becomes the section's first line", "[Main]\r\nA=1\r\n\r\n[Behavior]\r\nX=1\r\n",
         "Behavior", "B", "2", "[Main]\r\nA=1\r\n\r\n[Behavior]\r\nB=2\r\nX=1\r\n"},
        {"existing key: value replaced, names matched without case, key as the caller writes it",
         "[MAIN]\r\nmaxnumaliases=10\r\nZ=1\r\n", "main", "MaxNumAliases", "150",
         "[MAIN]\r\nMaxNumAliases=150\r\nZ=1\r\n"},
        {"same key in a later section is not this section's",
         "[Main]\r\nA=1\r\n[Behavior]\r\nB=1\r\n", "Main", "B", "2",
         "[Main]\r\nB=2\r\nA=1\r\n[Behavior]\r\nB=1\r\n"},
        {"a [ in a value ends the section", "[Main]\r\nA=x[y\r\nB=1\r\n", "Main", "B", "2",
         "[Main]\r\nB=2\r\nA=x[y\r\nB=1\r\n"},
        {"key line last without a line end", "[Main]\r\nA=1", "Main", "A", "2",
         "[Main]\r\nA=2\r\n"},
        {"lone LF lines come back as CR LF", "[Main]\nA=1\nB=2\n", "Main", "B", "3",
         "[Main]\r\nA=1\r\nB=3\r\n"},
        {"leading blank lines and runs of blank lines shrink",
         "\r\n\r\n[Main]\r\n\r\n\r\n\r\nA=1\r\n\r\n\r\n", "Main", "A", "2",
         "[Main]\r\n\r\nA=2\r\n"},
        {"trailing control bytes go, one CR LF ends the file", "[Main]\r\nA=1\r\n\t\r\n\r\n",
         "Main", "B", "2", "[Main]\r\nB=2\r\nA=1\r\n"},
        {"header with a trailing blank is not the section", "[Main] \r\nA=1\r\n", "Main", "A", "2",
         "[Main] \r\nA=1\r\n\r\n[Main]\r\nA=2\r\n"},
        {"only the first of two equal headers is updated", "[Main]\r\nA=1\r\n[Main]\r\nA=5\r\n",
         "Main", "A", "2", "[Main]\r\nA=2\r\n[Main]\r\nA=5\r\n"},
        {"a longer key with the same start is another key", "[Main]\r\nPathX=1\r\n", "Main", "Path",
         "p", "[Main]\r\nPath=p\r\nPathX=1\r\n"},
        {"a key line starting with a blank is not the key", "[Main]\r\n A=1\r\n", "Main", "A", "2",
         "[Main]\r\nA=2\r\n A=1\r\n"},
        {"value kept byte for byte", "[Main]\r\n", "Main", "T", " a = \"b\"=c ",
         "[Main]\r\nT= a = \"b\"=c \r\n"},
        {"comments and keys before any header stay", "; note\r\nA=1\r\n[Main]\r\nA=3\r\n", "Main",
         "A", "2", "; note\r\nA=1\r\n[Main]\r\nA=2\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iniWithKey(c.before, c.section, c.key, c.value), c.after) << c.name;
}

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    const char* expected;
};

TEST(IniRead, FindsTheFirstMatchingKeyLine) {
    const ReadCase cases[] = {
        {"names without case, value with its case", "[Main]\r\nMaxNumAliases=Abc\r\n", "main",
         "maxnumaliases", "Abc"},
        {"blank before =", "[Main]\r\nA =1\r\n", "Main", "A", ""},
        {"blank before the key", "[Main]\r\n A=1\r\n", "Main", "A", ""},
        {"a line with [ is a section line", "[Main]\r\nA=x[y\r\nB=1\r\n", "Main", "A", ""},
        {"keys after a [ value are out of the section", "[Main]\r\nA=x[y\r\nB=1\r\n", "Main", "B",
         ""},
        {"keys before the first header belong nowhere", "A=1\r\n[Main]\r\n", "Main", "A", ""},
        {"every section of the name is searched",
         "[Main]\r\nA=1\r\n[Other]\r\nB=2\r\n[main]\r\nB=3", "Main", "B", "3"},
        {"first match wins", "[Main]\r\nA=1\r\nA=2\r\n", "Main", "A", "1"},
        {"CR alone ends a line", "[Main]\rA=1\rB=2", "Main", "B", "2"},
        {"LF alone ends a line", "[Main]\nA=1\n", "Main", "A", "1"},
        {"value keeps blanks and =", "[Main]\r\nA= x=y \r\n", "Main", "A", " x=y "},
        {"header with a comment after it", "[Main] ;x\r\nA=1\r\n", "Main", "A", ""},
        {"missing section", "[Main]\r\nA=1\r\n", "Behavior", "A", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iniValue(c.content, c.section, c.key), c.expected) << c.name;
}

TEST(IniFile, ReadingAMissingFileCreatesItEmpty) {
    TempDir dir;
    const auto path = dir / "handleHound.ini";
    EXPECT_EQ(INIread(path, "Main", "Path"), "");
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(IniFile, WritesThenReadsBackAcrossCalls) {
    TempDir dir;
    const auto path = dir / "handleHound.ini";
    ASSERT_TRUE(INIwrite(path, "Main", "NewUser", "No"));
    ASSERT_TRUE(INIwrite(path, "Main", "MaxNumAliases", "150"));
    ASSERT_TRUE(INIwrite(path, "Behavior", "CommandKeyCode", "9"));
    ASSERT_TRUE(INIwrite(path, "Behavior", "CommandKey", "tab"));
    EXPECT_EQ(readFile(path), "[Main]\r\nMaxNumAliases=150\r\nNewUser=No\r\n\r\n[Behavior]\r\n"
                              "CommandKey=tab\r\nCommandKeyCode=9\r\n");
    EXPECT_EQ(INIread(path, "behavior", "commandkey"), "tab");
}

TEST(IniFile, FilesBeyond32KiBAreReadAndRewrittenWhole) {
    TempDir dir;
    const auto path = dir / "handleHound.ini";
    std::string filler;
    while (filler.size() < 40 * 1024)
        filler += "; a comment line that the reader ignores and the writer keeps\r\n";
    writeFile(path, filler + "[Main]\r\nA=1\r\n");
    ASSERT_TRUE(INIwrite(path, "Main", "B", "2"));
    EXPECT_EQ(readFile(path), filler + "[Main]\r\nB=2\r\nA=1\r\n");
    EXPECT_EQ(INIread(path, "Main", "A"), "1");
}

TEST(IniFile, RefusesLineBreaksAndLeavesTheFileAsItWas) {
    TempDir dir;
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
