// The count-up timer on the virtual clock, save and copy, answer expiry, and
// the program log written at close.
#include "InterpreterRig.h"
#include "common/RotatingLogFile.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

namespace fs = std::filesystem;

std::string expired(int seconds) {
    return std::to_string(seconds) + " Second Timer has Expired. Waiting for Command. . .";
}

TEST(Timer, ShowsEachSecondSoundsEveryFifthThenExpires) {
    // A fraction counts as the next whole second; none expires at once.
    const struct {
        const char* line;
        int seconds;
        std::vector<std::string> sounds; // the start has none of its own
    } cases[] = {{"timer 5.5", 6, {"", "cmd.wav", "cmd.wav", "complete.wav"}},
                 {"timer", 0, {"", "complete.wav"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        InterpreterRig rig;
        rig.run(c.line);
        std::vector<std::string> expected, shown;
        for (int n = 0; n < c.seconds; ++n)
            expected.push_back(renderResultScript(" " + std::to_string(n)));
        for (int t = 50; t < c.seconds * 1000 + 50; t += 50) {
            rig.fp.clock.advance(50);
            if (shown.empty() || shown.back() != rig.script())
                shown.push_back(rig.script());
        }
        EXPECT_EQ(shown, expected);
        rig.fp.clock.advance(50);
        EXPECT_EQ(rig.message(), expired(c.seconds));
        EXPECT_EQ(rig.sounds(), c.sounds);
        EXPECT_FALSE(rig.countTo->isEnabled());
        EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    }
}

TEST(Copy, ReplacesSemicolons) {
    InterpreterRig rig;
    rig.run("copy a;b");
    EXPECT_EQ(rig.fp.clipboard.text(), "a:b");
}

TEST(Save, AppendsStampedLinesToTheDesktopFileOrSaysWhyNot) {
    InterpreterRig rig;
    const fs::path file = rig.fp.paths.desktop / "Handlehound-Saved Text.txt";
    rig.run("save a;b");
    EXPECT_EQ(rig.message(), "Save command completed successfully. {'a:b' has been saved to '" +
                                 file.generic_string() + "'}");
    EXPECT_EQ(rig.lastSound(), "complete.wav");
    rig.fp.clock.advance(65000);
    rig.run("save second  line");
    EXPECT_EQ(readFile(file), "12/05 14:00:00> a:b\r\n12/05 14:01:05> second  line\r\n");
    fs::remove(file);
    fs::create_directories(file); // a folder where the file should be
    rig.run("save x");
    EXPECT_TRUE(
        rig.message().starts_with("Error! Could not save to '" + file.generic_string() + "'."));
    EXPECT_EQ(rig.lastSound(), "close.wav");
}

TEST(ConsoleLog, AppendsARecordPerCloseOrShowsTheFailure) {
    InterpreterRig rig;
    const std::string stars(91, '*');
    const fs::path log = rig.folder.program() / "log";
    rig.interpreter.LogConsoleText("\r\n> first\r\n\r\n");
    rig.fp.clock.advance(3600000);
    rig.interpreter.LogConsoleText("> second");
    EXPECT_EQ(readFile(log / "console.log"),
              stars + "\r\n12/5/2026 2:00:00 PM\r\n> first\r\n     \r\n" + stars +
                  "\r\n12/5/2026 3:00:00 PM\r\n> second\r\n     \r\n\r\n");
    // A full log is moved aside before the record that would overfill it.
    const std::string full(kLogFileLimit, 'x');
    writeFile(log / "console.log", full);
    rig.interpreter.LogConsoleText("> third");
    EXPECT_EQ(readFile(log / "console.log"),
              stars + "\r\n12/5/2026 3:00:00 PM\r\n> third\r\n     \r\n\r\n");
    EXPECT_EQ(readFile(log / "console.log.1"), full);
    fs::remove_all(log);
    writeFile(log, "a file where the log folder should be");
    rig.interpreter.LogConsoleText("> text");
    ASSERT_EQ(rig.fp.dialogs.messages.size(), 1u);
    EXPECT_NE(rig.fp.dialogs.messages[0].find("error in LogConsoleText to hhdev"),
              std::string::npos);
}

} // namespace
} // namespace hh::test
