// The size-rotated log: what lands in the file and in <name>.1.
#include "common/RotatingLogFile.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

TEST(RotatingLogFile, StartsAFreshFileWhenTheNextWriteWouldPassTheLimit) {
    struct Case {
        const char* name;
        std::vector<std::string> writes;
        std::string current, older;
    };
    const Case cases[] = {
        {"exactly the limit", {"abcd", "efghij"}, "abcdefghij", ""},
        {"one byte over", {"abcd", "efghijk"}, "efghijk", "abcd"},
        {"the newer rotation replaces .1", {"abcdef", "ghijkl", "mn"}, "ghijklmn", "abcdef"},
        {"an oversized text goes in whole", {"ab", "0123456789012"}, "0123456789012", "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        RotatingLogFile log(dir / "log" / "x.log", 10); // the folder is made on the way
        for (const auto& text : c.writes)
            ASSERT_TRUE(log.append(text));
        EXPECT_EQ(readFile(log.path()), c.current);
        EXPECT_EQ(readFile(dir / "log" / "x.log.1"), c.older); // "" when none
    }
}

TEST(RotatingLogFile, SaysWhyItCannotWrite) {
    TempDir dir;
    writeFile(dir / "log", "a file where the folder should be");
    RotatingLogFile log(dir / "log" / "x.log");
    std::string error;
    EXPECT_FALSE(log.append("line\n", &error));
    EXPECT_NE(error.find((dir / "log").string()), std::string::npos) << error;
}

} // namespace
} // namespace hh::test
