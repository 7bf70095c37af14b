// The count-up timer on the virtual clock, save and copy, answer expiry,
// and the program log written at close.
#include "InterpreterRig.h"

#include "commands/ConsoleLog.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

namespace fs = std::filesystem;

std::string expired(int seconds) {
    return std::to_string(seconds) + " Second Timer has Expired. Waiting for Command. . .";
}

// Records the result script at every tick of the count.
std::vector<std::string> watchCount(InterpreterRig& rig, long long untilMs) {
    std::vector<std::string> shown;
    for (long long t = 0; t < untilMs; t += 50) {
        rig.fp.clock.advance(50);
        const std::string now = rig.script();
        if (shown.empty() || shown.back() != now)
            shown.push_back(now);
    }
    return shown;
}

struct CountCase {
    std::string line;
    std::vector<std::string> counts; // shown before the expiry
    int named;                       // the count the expiry names
    long long expiresAtMs;
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << '"' << c.line << '"';
}

class CountUp : public testing::TestWithParam<CountCase> {};

TEST_P(CountUp, ShowsEachSecondThenExpires) {
    const CountCase& c = GetParam();
    InterpreterRig rig;
    rig.run(c.line);
    EXPECT_EQ(rig.sounds(), std::vector<std::string>{""}) << "the start has no sound of its own";

    std::vector<std::string> expected;
    for (const auto& n : c.counts)
        expected.push_back(InterpreterRig::scriptFor(" " + n));
    EXPECT_EQ(watchCount(rig, c.expiresAtMs - 50), expected);
    EXPECT_NE(rig.message(), expired(c.named)) << "not yet";

    rig.fp.clock.advance(50);
    EXPECT_EQ(rig.message(), expired(c.named));
    EXPECT_EQ(rig.script(), InterpreterRig::scriptFor(expired(c.named)));
    EXPECT_EQ(rig.lastSound(), "complete.wav");
    EXPECT_FALSE(rig.countTo->isEnabled());
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    EXPECT_EQ(rig.clearClip->interval(), 15000);
}

INSTANTIATE_TEST_SUITE_P(Timer, CountUp,
                         testing::Values(CountCase{"timer 3", {"0", "1", "2"}, 3, 3050},
                                         CountCase{"timer 2.5", {"0", "1", "2"}, 3, 3050},
                                         CountCase{"timer", {}, 0, 50},
                                         CountCase{"timer end", {}, 0, 50},
                                         CountCase{"timer abc", {}, 0, 50}));

TEST(Timer, SoundsEveryFifthSecond) {
    InterpreterRig rig;
    rig.run("timer 11");
    rig.fp.clock.advance(11050);
    EXPECT_EQ(rig.sounds(),
              (std::vector<std::string>{"", "cmd.wav", "cmd.wav", "cmd.wav", "complete.wav"}));
}

TEST(Timer, ASecondTimerGoesOnFromTheRunningCount) {
    InterpreterRig rig;
    rig.run("timer 10");
    rig.fp.clock.advance(2050); // shown 0, 1, 2
    rig.run("timer 4");
    rig.fp.clock.advance(50);
    EXPECT_EQ(rig.script(), InterpreterRig::scriptFor(" 3"));
    rig.fp.clock.advance(1000);
    EXPECT_EQ(rig.message(), expired(4));
}

TEST(Timer, EndStopsARunningCountAndTheNextCountStartsAtZero) {
    InterpreterRig rig;
    rig.run("timer 100");
    rig.fp.clock.advance(1050); // shown 0, 1
    rig.run("timer end");
    rig.fp.clock.advance(50);
    EXPECT_EQ(rig.message(), expired(2));
    rig.run("timer 1");
    rig.fp.clock.advance(50);
    EXPECT_EQ(rig.script(), InterpreterRig::scriptFor(" 0"));
    rig.fp.clock.advance(1000);
    EXPECT_EQ(rig.message(), expired(1));
}

// ---- save and copy

TEST(Copy, ReplacesSemicolonsAndExpiresFromTheClipboard) {
    InterpreterRig rig;
    rig.run("copy a;b");
    EXPECT_EQ(rig.fp.clipboard.text(), "a:b");
    EXPECT_EQ(rig.message(), "Copy command completed successfully. {'a:b' has been copied to the "
                             "Windows clipboard'}");
    EXPECT_EQ(rig.lastSound(), "complete.wav");
    rig.fp.clock.advance(15000);
    EXPECT_EQ(rig.fp.clipboard.text(), "");
}

TEST(Save, AppendsStampedLinesToTheDesktopFile) {
    InterpreterRig rig;
    const fs::path file = rig.fp.paths.desktop / "Handlehound-Saved Text.txt";
    rig.run("save a;b");
    EXPECT_EQ(rig.message(), "Save command completed successfully. {'a:b' has been saved to '" +
                                 file.string() + "'}");
    EXPECT_EQ(rig.lastSound(), "complete.wav");
    rig.fp.clock.advance(65000);
    rig.run("save second  line");
    EXPECT_EQ(readFile(file), "12/05 14:00:00> a:b\r\n12/05 14:01:05> second  line\r\n");
}

TEST(Save, CreatesAMissingDesktopFolder) {
    InterpreterRig rig;
    rig.fp.paths.desktop = rig.folder.game() / "no" / "Desktop";
    rig.run("save x");
    EXPECT_EQ(readFile(rig.fp.paths.desktop / "Handlehound-Saved Text.txt"),
              "12/05 14:00:00> x\r\n");
}

TEST(Save, ReportsAFileThatCannotBeWritten) {
    InterpreterRig rig;
    // A folder where the file should be: it cannot be opened for appending.
    const fs::path file = rig.fp.paths.desktop / "Handlehound-Saved Text.txt";
    fs::create_directories(file);
    rig.run("save x");
    EXPECT_EQ(rig.message().rfind("Error! Could not save to '" + file.string() + "'.", 0), 0u)
        << rig.message();
    EXPECT_EQ(rig.lastSound(), "close.wav");
}

// ---- answer expiry

TEST(Expiry, TimeAndVersionLeaveTheClipboardAfterFifteenSeconds) {
    for (const std::string line : {"time", "version"}) {
        InterpreterRig rig;
        rig.run(line);
        EXPECT_FALSE(rig.fp.clipboard.text().empty());
        rig.fp.clock.advance(14999);
        EXPECT_FALSE(rig.fp.clipboard.text().empty()) << line;
        rig.fp.clock.advance(1);
        EXPECT_EQ(rig.fp.clipboard.text(), "") << line;
        EXPECT_EQ(rig.script(), InterpreterRig::scriptFor("Waiting for Command. . .")) << line;
    }
}

TEST(Expiry, AboutStaysOnTheClipboard) {
    InterpreterRig rig;
    rig.run("about");
    const std::string copied = rig.fp.clipboard.text();
    rig.fp.clock.advance(600000);
    EXPECT_EQ(rig.fp.clipboard.text(), copied);
}

// ---- program log

TEST(ConsoleLog, CompactionDropsEmptyAndSingleBlankLines) {
    struct Case {
        std::string in, out;
    };
    for (const Case& c :
         {Case{"", "     \r\n\r\n"}, Case{"a\r\n\r\n \r\nb", "a\r\nb\r\n     \r\n\r\n"},
          Case{"a\n\rb\r", "a\r\nb\r\n     \r\n\r\n"},
          Case{"  two\r\n     \r\n", "  two\r\n     \r\n     \r\n\r\n"}})
        EXPECT_EQ(compactConsoleLog(c.in), c.out) << c.in;
}

TEST(ConsoleLog, AppendsARecordPerCloseAndKeepsTheEarlierOnes) {
    InterpreterRig rig;
    const std::string stars(91, '*');
    rig.interpreter.LogConsoleText("\r\n> first\r\n\r\n");
    rig.fp.clock.advance(3600000);
    rig.interpreter.LogConsoleText("> second");
    EXPECT_EQ(readFile(rig.folder.program() / "log" / "console.log"),
              stars + "\r\n12/5/2026 2:00:00 PM\r\n> first\r\n     \r\n" + stars +
                  "\r\n12/5/2026 3:00:00 PM\r\n> second\r\n     \r\n\r\n");
    EXPECT_TRUE(rig.fp.dialogs.messages.empty());
}

TEST(ConsoleLog, AFailureIsShownAndNamesTheAuthor) {
    InterpreterRig rig;
    writeFile(rig.folder.program() / "log", "a file where the log folder should be");
    rig.interpreter.LogConsoleText("> text");
    ASSERT_EQ(rig.fp.dialogs.messages.size(), 1u);
    EXPECT_NE(rig.fp.dialogs.messages[0].find("LogConsoleText"), std::string::npos);
    EXPECT_NE(rig.fp.dialogs.messages[0].find("hhdev"), std::string::npos);
}

} // namespace
} // namespace hh::test
